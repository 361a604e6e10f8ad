#include "help/RtfDocumentQt.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

constexpr double kTwipsPerPixel = 15.0;

QTextCharFormat CharFormat(const RtfCharFormat& f) {
  QTextCharFormat out;
  if (f.bold) out.setFontWeight(QFont::Bold);
  if (f.italic) out.setFontItalic(true);
  if (f.underline) out.setFontUnderline(true);
  if (f.halfPoints > 0) out.setFontPointSize(f.halfPoints / 2.0);
  if (f.rgb) out.setForeground(QColor((*f.rgb >> 16) & 0xFF, (*f.rgb >> 8) & 0xFF, *f.rgb & 0xFF));
  return out;
}

QTextBlockFormat BlockFormat(const RtfDocument& doc, std::size_t paragraph) {
  QTextBlockFormat out;
  if (paragraph >= doc.paragraphs.size()) return out;
  const RtfParagraph& p = doc.paragraphs[paragraph];
  switch (p.alignment) {
    case RtfAlignment::Left: out.setAlignment(Qt::AlignLeft); break;
    case RtfAlignment::Centre: out.setAlignment(Qt::AlignHCenter); break;
    case RtfAlignment::Right: out.setAlignment(Qt::AlignRight); break;
    case RtfAlignment::Justify: out.setAlignment(Qt::AlignJustify); break;
  }
  out.setLeftMargin(p.leftIndentTwips / kTwipsPerPixel);
  out.setTextIndent(p.firstLineIndentTwips / kTwipsPerPixel);
  out.setTopMargin(p.spaceBeforeTwips / kTwipsPerPixel);
  out.setBottomMargin(p.spaceAfterTwips / kTwipsPerPixel);
  return out;
}

QString Slice(const std::u16string& text, std::size_t from, std::size_t to) {
  return QString::fromUtf16(text.data() + from, static_cast<qsizetype>(to - from));
}

}  // namespace

void FillTextDocument(QTextDocument& target, const RtfDocument& source) {
  target.clear();
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  std::size_t paragraph = 0;
  cursor.setBlockFormat(BlockFormat(source, paragraph));
  for (const RtfRun& run : source.runs) {
    const QTextCharFormat format = CharFormat(run.format);
    const std::size_t end = std::min(run.start + run.length, source.text.size());
    std::size_t chunk = run.start;
    for (std::size_t i = run.start; i < end; ++i) {
      if (source.text[i] != u'\n') continue;
      if (i > chunk) cursor.insertText(Slice(source.text, chunk, i), format);
      cursor.insertBlock(BlockFormat(source, ++paragraph), format);
      chunk = i + 1;
    }
    if (end > chunk) cursor.insertText(Slice(source.text, chunk, end), format);
  }
  cursor.endEditBlock();
}

void ShowRtfDocument(QTextEdit& edit, const RtfDocument& source) {
  edit.clear();
  FillTextDocument(*edit.document(), source);
  edit.moveCursor(QTextCursor::Start);
}
