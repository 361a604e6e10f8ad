// Gives the targets that only carry a precompiled header a source of their own.
