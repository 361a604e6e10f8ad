#include "help/RtfReader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/CodePages.h"

namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr std::size_t kMaxControlWordLetters = 32;
constexpr long long kParameterLimit = 1'000'000'000;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kPlainTextCodePage = 1251;

// Destinations whose content is not part of the text, each between blanks.
constexpr std::string_view kSkippedDestinations =
    " stylesheet info pict header headerl headerr headerf footer footerl footerr footerf"
    " footnote object fldinst listtable listoverridetable revtbl rsidtbl generator xmlnstbl themedata"
    " colorschememapping latentstyles datastore nonshppict bkmkstart bkmkend filetbl private docvar"
    " comment annotation atnid author operator title subject keywords doccomm userprops xe tc pn ";

enum class Destination { Text, Skip, ColourTable, FontTable };

constexpr int kDefaultFont = -1;

struct GroupState {
  RtfCharFormat format;
  RtfParagraph paragraph;  // its look; the start is the builder's
  Destination destination = Destination::Text;
  int unicodeSkip = 1;
  int font = kDefaultFont;  // \fN; the document's default font until one is named
};

// The code page of a font's character set (\fcharsetN); 0 when the character set names none
// that is known, and the document's code page applies.
int CodePageOfCharset(long long charset) {
  switch (charset) {
    case 0: return 1252;    // ANSI
    case 204: return 1251;  // Russian
    case 238: return 1250;  // Eastern European
    default: return 0;
  }
}

constexpr std::size_t kMaxFonts = 1024;  // fonts numbered beyond this keep the document's code page

bool IsSkippedDestination(std::string_view word) {
  if (word.empty()) return false;
  for (std::size_t at = kSkippedDestinations.find(word); at != std::string_view::npos;
       at = kSkippedDestinations.find(word, at + 1)) {
    if (kSkippedDestinations[at - 1] == ' ' && kSkippedDestinations[at + word.size()] == ' ') return true;
  }
  return false;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Builder {
 public:
  Builder() { doc_.paragraphs.push_back({}); }

  void Append(char16_t c, const RtfCharFormat& format) {
    if (c < 0x20 && c != u'\t' && c != u'\n') return;  // control characters show nothing
    const std::size_t at = doc_.text.size();
    doc_.text.push_back(c);
    if (!doc_.runs.empty() && doc_.runs.back().format == format) {
      ++doc_.runs.back().length;
    } else {
      doc_.runs.push_back({at, 1, format});
    }
  }

  void EndParagraph(const RtfCharFormat& format, const RtfParagraph& look) {
    SetParagraphLook(look);
    Append(u'\n', format);
    doc_.paragraphs.push_back({});
    doc_.paragraphs.back().start = doc_.text.size();
  }

  void SetParagraphLook(const RtfParagraph& look) {
    const std::size_t start = doc_.paragraphs.back().start;
    doc_.paragraphs.back() = look;
    doc_.paragraphs.back().start = start;
  }

  RtfDocument Take(int codePage) {
    doc_.codePage = codePage;
    return std::move(doc_);
  }

 private:
  RtfDocument doc_;
};

class RtfParser {
 public:
  explicit RtfParser(std::string_view in) : in_(in) {}

  RtfDocument Read() {
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      switch (c) {
        case '{':
          pendingSkip_ = 0;
          OpenGroup();
          break;
        case '}':
          pendingSkip_ = 0;
          if (stack_.size() == 1 && overflow_ == 0) return Finish();  // the document's own group ends
          CloseGroup();
          break;
        case '\\': Control(); break;
        case '\r':
        case '\n': break;
        case '\t': Text(u'\t'); break;
        default:
          if (static_cast<unsigned char>(c) >= 0x20) Byte(static_cast<unsigned char>(c));
          break;
      }
    }
    return Finish();  // unterminated: whatever was read
  }

 private:
  RtfDocument Finish() {
    out_.SetParagraphLook(st_.paragraph);
    return out_.Take(codePage_);
  }

  void OpenGroup() {
    if (stack_.size() >= static_cast<std::size_t>(kRtfMaxGroupDepth)) {
      ++overflow_;
      return;
    }
    stack_.push_back(st_);
  }

  void CloseGroup() {
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (stack_.empty()) return;
    st_ = stack_.back();
    stack_.pop_back();
  }

  // Counts a unit of the fallback that follows a \u character; true when it is skipped.
  bool SkipFallback() {
    if (pendingSkip_ <= 0) return false;
    --pendingSkip_;
    return true;
  }

  void Text(char16_t c) {
    if (SkipFallback()) return;
    if (st_.destination == Destination::Text) out_.Append(c, st_.format);
  }

  void Byte(unsigned char b) {
    if (st_.destination == Destination::ColourTable) {
      if (b == ';') EndColour();
      return;
    }
    if (st_.destination == Destination::FontTable) return;  // font names
    Text(DecodeCodePageByte(TextCodePage(), b));
  }

  // Text is encoded in the current font's character set when it has one, else in the
  // document's code page.
  int TextCodePage() const {
    const int font = st_.font == kDefaultFont ? defaultFont_ : st_.font;
    if (font >= 0 && static_cast<std::size_t>(font) < fontCodePages_.size() &&
        fontCodePages_[static_cast<std::size_t>(font)] != 0)
      return fontCodePages_[static_cast<std::size_t>(font)];
    return codePage_;
  }

  static int FontNumber(const std::optional<long long>& p) {
    const long long n = p.value_or(0);
    return n >= 0 && n < static_cast<long long>(kMaxFonts) ? static_cast<int>(n) : kDefaultFont;
  }

  void EndColour() {
    if (colourSet_)
      colours_.push_back((static_cast<std::uint32_t>(red_) << 16) |
                         (static_cast<std::uint32_t>(green_) << 8) | static_cast<std::uint32_t>(blue_));
    else
      colours_.push_back(std::nullopt);
    red_ = green_ = blue_ = 0;
    colourSet_ = false;
  }

  void Control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!IsLetter(c)) {
      ++pos_;
      Symbol(c);
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    std::string_view word = in_.substr(start, pos_ - start);
    if (word.size() > kMaxControlWordLetters) word = {};  // unknown to everyone
    std::optional<long long> parameter;
    const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1]);
    if (negative) ++pos_;
    if (pos_ < in_.size() && IsDigit(in_[pos_])) {
      long long value = 0;
      while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        value = std::min(kParameterLimit, value * 10 + (in_[pos_] - '0'));
        ++pos_;
      }
      parameter = negative ? -value : value;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    Word(word, parameter);
  }

  void Symbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}': Byte(static_cast<unsigned char>(c)); return;
      case '~': Text(0x00A0); return;
      case '_': Text(0x2011); return;
      case '*': st_.destination = Destination::Skip; return;
      case '\'': {
        const int high = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
        if (high < 0) return;
        ++pos_;
        const int low = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
        if (low < 0) return;  // a broken escape shows nothing
        ++pos_;
        Byte(static_cast<unsigned char>(high * 16 + low));
        return;
      }
      case '\r':
      case '\n': Word("par", std::nullopt); return;
      default: SkipFallback(); return;  // \- (optional hyphen), \: and the like
    }
  }

  static bool On(const std::optional<long long>& p) { return !p || *p != 0; }
  // A distance on the page, at most 22 inches either way.
  static int Twips(const std::optional<long long>& p) {
    return static_cast<int>(std::clamp(p.value_or(0), -31680LL, 31680LL));
  }

  void Word(std::string_view w, const std::optional<long long>& p) {
    if (w == "u") {
      long long v = p.value_or(0);
      if (v < 0) v += 65536;
      const bool inText = st_.destination == Destination::Text;
      pendingSkip_ = 0;
      if (inText && v >= 0 && v <= 0xFFFF) out_.Append(static_cast<char16_t>(v), st_.format);
      pendingSkip_ = st_.unicodeSkip;
      return;
    }
    if (w == "bin") {
      // Binary data: its bytes are skipped whatever they hold.
      const auto n = static_cast<std::size_t>(std::max(0LL, p.value_or(0)));
      pos_ += std::min(n, in_.size() - pos_);
      return;
    }
    if (SkipFallback()) return;
    if (w == "colortbl") {
      st_.destination = Destination::ColourTable;
      colours_.clear();
      return;
    }
    if (w == "fonttbl") {
      st_.destination = Destination::FontTable;
      return;
    }
    if (IsSkippedDestination(w)) {
      st_.destination = Destination::Skip;
      return;
    }
    if (st_.destination == Destination::ColourTable) {
      const int v = static_cast<int>(std::clamp(p.value_or(0), 0LL, 255LL));
      if (w == "red") red_ = v, colourSet_ = true;
      if (w == "green") green_ = v, colourSet_ = true;
      if (w == "blue") blue_ = v, colourSet_ = true;
      return;
    }
    if (st_.destination == Destination::FontTable) {
      if (w == "f") {
        definedFont_ = FontNumber(p);
      } else if (w == "fcharset" && definedFont_ != kDefaultFont) {
        if (fontCodePages_.size() <= static_cast<std::size_t>(definedFont_))
          fontCodePages_.resize(static_cast<std::size_t>(definedFont_) + 1, 0);
        fontCodePages_[static_cast<std::size_t>(definedFont_)] = CodePageOfCharset(p.value_or(0));
      }
      return;
    }
    if (w == "f") {
      st_.font = FontNumber(p);
    } else if (w == "deff") {
      defaultFont_ = FontNumber(p);
    } else if (w == "ansicpg") {
      codePage_ = SupportedCodePage(static_cast<int>(p.value_or(1252)));
    } else if (w == "ansi") {
      codePage_ = 1252;
    } else if (w == "uc") {
      st_.unicodeSkip =
          static_cast<int>(std::clamp(p.value_or(1), 0LL, static_cast<long long>(kMaxUnicodeSkip)));
    } else if (w == "par" || w == "sect" || w == "page") {
      if (st_.destination == Destination::Text) out_.EndParagraph(st_.format, st_.paragraph);
    } else if (w == "line") {
      Text(kLineSeparator);
    } else if (w == "tab") {
      Text(u'\t');
    } else if (w == "emdash") {
      Text(0x2014);
    } else if (w == "endash") {
      Text(0x2013);
    } else if (w == "bullet") {
      Text(0x2022);
    } else if (w == "lquote") {
      Text(0x2018);
    } else if (w == "rquote") {
      Text(0x2019);
    } else if (w == "ldblquote") {
      Text(0x201C);
    } else if (w == "rdblquote") {
      Text(0x201D);
    } else if (w == "emspace" || w == "enspace" || w == "qmspace") {
      Text(u' ');
    } else if (w == "b") {
      st_.format.bold = On(p);
    } else if (w == "i") {
      st_.format.italic = On(p);
    } else if (w == "ul") {
      st_.format.underline = On(p);
    } else if (w == "ulnone") {
      st_.format.underline = false;
    } else if (w == "fs") {
      const long long v = p.value_or(24);
      st_.format.halfPoints = v >= 1 && v <= 3276 ? static_cast<int>(v) : 0;
    } else if (w == "cf") {
      const long long index = p.value_or(0);
      st_.format.rgb = index > 0 && index < static_cast<long long>(colours_.size())
                           ? colours_[static_cast<std::size_t>(index)]
                           : std::nullopt;
    } else if (w == "plain") {
      st_.format = {};
      st_.font = kDefaultFont;
    } else if (w == "pard") {
      st_.paragraph = {};
    } else if (w == "ql") {
      st_.paragraph.alignment = RtfAlignment::Left;
    } else if (w == "qc") {
      st_.paragraph.alignment = RtfAlignment::Centre;
    } else if (w == "qr") {
      st_.paragraph.alignment = RtfAlignment::Right;
    } else if (w == "qj") {
      st_.paragraph.alignment = RtfAlignment::Justify;
    } else if (w == "li") {
      st_.paragraph.leftIndentTwips = Twips(p);
    } else if (w == "fi") {
      st_.paragraph.firstLineIndentTwips = Twips(p);
    } else if (w == "sb") {
      st_.paragraph.spaceBeforeTwips = std::max(0, Twips(p));
    } else if (w == "sa") {
      st_.paragraph.spaceAfterTwips = std::max(0, Twips(p));
    }
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_;
  GroupState st_;
  int overflow_ = 0;
  int codePage_ = 1252;
  int defaultFont_ = kDefaultFont;
  int definedFont_ = kDefaultFont;  // the font table entry being read
  std::vector<int> fontCodePages_;  // by font number; 0: the document's code page
  int pendingSkip_ = 0;
  std::vector<std::optional<std::uint32_t>> colours_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colourSet_ = false;
  Builder out_;
};

}  // namespace

namespace {

RtfDocument ReadPlainText(std::string_view bytes) {
  std::u16string decoded;
  if (auto utf8 = Utf16FromUtf8(bytes)) {
    decoded = std::move(*utf8);
  } else {
    decoded.reserve(bytes.size());
    for (char c : bytes)
      decoded.push_back(DecodeCodePageByte(kPlainTextCodePage, static_cast<unsigned char>(c)));
  }
  Builder out;
  const RtfCharFormat plain;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const char16_t c = decoded[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < decoded.size() && decoded[i + 1] == u'\n') ++i;
      out.EndParagraph(plain, RtfParagraph{});
    } else if (c == u'\t' || c >= 0x20) {
      out.Append(c, plain);
    }
  }
  return out.Take(kPlainTextCodePage);
}

}  // namespace

RtfDocument ReadRtf(std::string_view bytes) {
  std::string_view body = bytes;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  while (!body.empty() &&
         (body.front() == ' ' || body.front() == '\r' || body.front() == '\n' || body.front() == '\t'))
    body.remove_prefix(1);
  if (body.substr(0, 5) != "{\\rtf") return ReadPlainText(bytes);
  return RtfParser(body).Read();
}

std::optional<RtfDocument> LoadRtfFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > kRtfMaxFileBytes) return std::nullopt;
  file.seekg(0, std::ios::beg);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !file.read(bytes.data(), size)) return std::nullopt;
  return ReadRtf(bytes);
}
