#pragma once

#include "help/RtfReader.h"

class QTextDocument;
class QTextEdit;

// Builds a text document from a read RTF document, character for character, so that a
// position in RtfDocument::text is the same position in the text document.
void FillTextDocument(QTextDocument& target, const RtfDocument& source);

// Replaces the text of a rich-edit control with the document.
void ShowRtfDocument(QTextEdit& edit, const RtfDocument& source);
