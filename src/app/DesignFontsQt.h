#pragma once

// Maps the design's font families to the installed substitutes and makes the design's
// sans-serif font, 13 pixels high, the application's default. Call after the application
// object exists and before any window is made.
void ApplyDesignFonts();
