#include "rtf/rtfreader.h"

#include "rtf/codepages.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// What the text of the current group is for.
enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Picture };

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 0; // 0: the document's default size
    int font = -1;      // font number; -1: the default font (\deff)
    int fg = -1;        // colour table indexes; -1: none
    int bg = -1;
    bool operator==(const CharProps&) const = default;
};

struct ParaProps {
    Qt::Alignment align = Qt::AlignLeft;
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0; // twips
};

struct Group {
    CharProps chr;
    ParaProps para;
    int uc = 1;
    Dest dest = Dest::Text;
};

struct FontEntry {
    QString name;
    int codePage = 1252;
};

enum class Kw : quint8 {
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTbl,
    ColorTbl,
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    Par,
    Line,
    Tab,
    Char,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Fs,
    Cf,
    Bg,
    Plain,
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    U,
    Uc,
    Pict,
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    SkipDest,
    ShpPict,
};

struct KwInfo {
    Kw kw;
    char16_t ch = 0; // for Kw::Char
};

const std::unordered_map<std::string_view, KwInfo>& keywords() {
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        auto add = [&t](std::string_view n, Kw k, char16_t ch = 0) { t.emplace(n, KwInfo{k, ch}); };
        add("ansi", Kw::Ansi);
        add("mac", Kw::Mac);
        add("pc", Kw::Pc);
        add("pca", Kw::Pca);
        add("ansicpg", Kw::AnsiCpg);
        add("deff", Kw::Deff);
        add("fonttbl", Kw::FontTbl);
        add("colortbl", Kw::ColorTbl);
        add("f", Kw::F);
        add("fcharset", Kw::FCharset);
        add("cpg", Kw::Cpg);
        add("red", Kw::Red);
        add("green", Kw::Green);
        add("blue", Kw::Blue);
        for (auto n : {"par", "row", "page", "sect"})
            add(n, Kw::Par);
        add("line", Kw::Line);
        for (auto n : {"tab", "cell", "nestcell"})
            add(n, Kw::Tab);
        add("emdash", Kw::Char, 0x2014);
        add("endash", Kw::Char, 0x2013);
        add("emspace", Kw::Char, 0x2003);
        add("enspace", Kw::Char, 0x2002);
        add("qmspace", Kw::Char, 0x2005);
        add("bullet", Kw::Char, 0x2022);
        add("lquote", Kw::Char, 0x2018);
        add("rquote", Kw::Char, 0x2019);
        add("ldblquote", Kw::Char, 0x201C);
        add("rdblquote", Kw::Char, 0x201D);
        add("zwj", Kw::Char, 0x200D);
        add("zwnj", Kw::Char, 0x200C);
        add("b", Kw::B);
        add("i", Kw::I);
        for (auto n : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                       "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                       "ululdbwave", "ulw", "ulwave"})
            add(n, Kw::Ul);
        add("ulnone", Kw::UlNone);
        add("strike", Kw::Strike);
        add("strikedl", Kw::Strike);
        add("fs", Kw::Fs);
        add("cf", Kw::Cf);
        add("highlight", Kw::Bg);
        add("cb", Kw::Bg);
        add("plain", Kw::Plain);
        add("pard", Kw::Pard);
        add("ql", Kw::Ql);
        add("qc", Kw::Qc);
        add("qr", Kw::Qr);
        add("qj", Kw::Qj);
        add("li", Kw::Li);
        add("ri", Kw::Ri);
        add("fi", Kw::Fi);
        add("sb", Kw::Sb);
        add("sa", Kw::Sa);
        add("u", Kw::U);
        add("uc", Kw::Uc);
        add("pict", Kw::Pict);
        add("pngblip", Kw::PngBlip);
        add("jpegblip", Kw::JpegBlip);
        for (auto n : {"wmetafile", "emfblip", "dibitmap", "wbitmap", "macpict", "pmmetafile"})
            add(n, Kw::OtherBlip);
        add("picwgoal", Kw::PicWGoal);
        add("pichgoal", Kw::PicHGoal);
        add("picscalex", Kw::PicScaleX);
        add("picscaley", Kw::PicScaleY);
        add("shppict", Kw::ShpPict);
        for (auto n : {"stylesheet",   "info",
                       "header",       "headerl",
                       "headerr",      "headerf",
                       "footer",       "footerl",
                       "footerr",      "footerf",
                       "footnote",     "annotation",
                       "atnid",        "atnauthor",
                       "comment",      "xe",
                       "tc",           "txe",
                       "rxe",          "fldinst",
                       "datafield",    "object",
                       "objdata",      "nonshppict",
                       "themedata",    "colorschememapping",
                       "latentstyles", "datastore",
                       "listtable",    "listoverridetable",
                       "rsidtbl",      "revtbl",
                       "filetbl",      "pgdsctbl",
                       "generator",    "xmlnstbl",
                       "template",     "docvar",
                       "pn",           "pntxta",
                       "pntxtb",       "keywords",
                       "subject",      "title",
                       "author",       "operator",
                       "doccomm",      "company",
                       "buptim",       "creatim",
                       "printim",      "revtim",
                       "fchars",       "lchars",
                       "private",      "background",
                       "ftnsep",       "ftnsepc",
                       "ftncn",        "aftnsep",
                       "aftnsepc",     "aftncn",
                       "shpinst",      "bkmkstart",
                       "bkmkend",      "userprops"})
            add(n, Kw::SkipDest);
        return t;
    }();
    return table;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Twips to the document's pixels (96 per inch).
qreal px(int twips) {
    return twips / 15.0;
}

// A lone half of a surrogate pair would upset text layout.
void fixSurrogates(QString& s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            s[i] = QChar::ReplacementCharacter;
    }
}

class Reader {
public:
    Reader(QTextDocument* doc, const QByteArray& data)
        : m_doc(doc), m_cur(doc), m_p(data.constData()), m_end(data.constData() + data.size()) {
        m_stack.reserve(kRtfMaxGroupDepth + 1);
        m_stack.emplace_back(); // the state outside every group
    }

    void run() {
        m_cur.beginEditBlock();
        while (m_p < m_end && !m_done) {
            const char c = *m_p++;
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                control();
                break;
            case '\r':
            case '\n':
                break;
            default:
                textByte(uchar(c));
                break;
            }
        }
        // A truncated page: close what is open and keep what was read.
        if (m_pictGroup >= 0) finishPicture();
        endDocument(m_stack.back().para);
        m_cur.endEditBlock();
    }

private:
    Group& top() { return m_stack.back(); }

    void openGroup() {
        m_skipChars = 0;
        m_ignorableNext = false;
        if (m_overflow > 0 || int(m_stack.size()) > kRtfMaxGroupDepth) {
            ++m_overflow;
            return;
        }
        Group g = top();
        if (g.dest == Dest::Picture)
            g.dest = Dest::Skip; // picture data is the picture group's only
        m_stack.push_back(g);
    }

    void closeGroup() {
        m_skipChars = 0;
        m_ignorableNext = false;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_stack.size() <= 1) return; // a stray closing brace
        if (int(m_stack.size()) - 1 == m_pictGroup) finishPicture();
        if (top().dest == Dest::FontTable) commitFont();
        if (m_stack.size() == 2) {
            // The document group ends here; what follows it is not part of the page.
            endDocument(top().para);
            m_done = true;
        }
        m_stack.pop_back();
    }

    void control() {
        if (m_p >= m_end) return;
        const char c = *m_p;
        if (!isLetter(c)) {
            ++m_p;
            symbol(c);
            return;
        }
        const char* start = m_p;
        while (m_p < m_end && isLetter(*m_p))
            ++m_p;
        const std::string_view name(start, size_t(m_p - start));
        bool neg = false;
        if (m_p + 1 < m_end && *m_p == '-' && isDigit(m_p[1])) {
            neg = true;
            ++m_p;
        }
        bool hasParam = false;
        qint64 v = 0;
        for (int n = 0; m_p < m_end && isDigit(*m_p); ++n, ++m_p) {
            if (n < 11) v = v * 10 + (*m_p - '0');
            hasParam = true;
        }
        if (neg) v = -v;
        v = std::clamp<qint64>(v, INT_MIN, INT_MAX);
        if (m_p < m_end && *m_p == ' ') ++m_p;
        word(name, hasParam, int(v));
    }

    // True when the token is swallowed: the characters after \u, or a group
    // that is skipped whole.
    bool swallowed() {
        if (m_skipChars > 0) {
            --m_skipChars;
            return true;
        }
        if (m_overflow > 0 || top().dest == Dest::Skip) return true;
        if (m_ignorableNext) { // \* not followed by a control word
            m_ignorableNext = false;
            top().dest = Dest::Skip;
            return true;
        }
        return false;
    }

    void symbol(char c) {
        if (c == '\'') {
            int hi = m_p < m_end ? hexValue(m_p[0]) : -1;
            int lo = m_p + 1 < m_end ? hexValue(m_p[1]) : -1;
            if (hi < 0 || lo < 0) return;
            m_p += 2;
            if (swallowed()) return;
            const uchar b = uchar(hi * 16 + lo);
            if (b < 0x20) { // control bytes are no text; a tab is a tab
                if (b == '\t') emitChar('\t');
                return;
            }
            if (top().dest == Dest::Text)
                emitByte(b);
            else if (top().dest == Dest::FontTable)
                m_tblName.append(char(b));
            return;
        }
        if (c == '*' && m_skipChars == 0) {
            m_ignorableNext = true;
            return;
        }
        if (swallowed()) return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            if (top().dest == Dest::Text)
                emitByte(uchar(c));
            else if (top().dest == Dest::FontTable)
                m_tblName.append(c);
            break;
        case '~':
            emitChar(0x00A0);
            break;
        case '-':
            emitChar(0x00AD);
            break;
        case '_':
            emitChar(0x2011);
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        case '\t':
            emitChar('\t');
            break;
        default:
            break;
        }
    }

    void word(std::string_view name, bool hasParam, int v) {
        if (name == "bin") {
            // Binary data follows, whatever the state: step over it.
            const qint64 n = hasParam && v > 0 ? std::min<qint64>(v, m_end - m_p) : 0;
            const bool forPicture = m_skipChars == 0 && m_overflow == 0 && !m_ignorableNext &&
                                    top().dest == Dest::Picture;
            if (forPicture) m_pictData.append(m_p, n);
            m_p += n;
            if (!forPicture) swallowed();
            return;
        }
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        if (m_overflow > 0 || top().dest == Dest::Skip) return;
        const auto& table = keywords();
        const auto it = table.find(name);
        if (m_ignorableNext) {
            m_ignorableNext = false;
            if (it == table.end() || (it->second.kw != Kw::ShpPict && it->second.kw != Kw::Pict)) {
                top().dest = Dest::Skip;
                return;
            }
        }
        if (it == table.end()) return;
        const KwInfo& k = it->second;
        Group& g = top();
        switch (g.dest) {
        case Dest::Text:
            textWord(k, hasParam, v);
            break;
        case Dest::FontTable:
            fontTableWord(k.kw, v);
            break;
        case Dest::ColorTable:
            colorTableWord(k.kw, v);
            break;
        case Dest::Picture:
            pictureWord(k.kw, v);
            break;
        case Dest::Skip:
            break;
        }
    }

    void textWord(const KwInfo& k, bool hasParam, int v) {
        Group& g = top();
        const bool on = !hasParam || v != 0;
        switch (k.kw) {
        case Kw::Ansi:
            m_ansiCp = 1252;
            break;
        case Kw::Mac:
            m_ansiCp = 10000;
            break;
        case Kw::Pc:
            m_ansiCp = 437;
            break;
        case Kw::Pca:
            m_ansiCp = 850;
            break;
        case Kw::AnsiCpg:
            if (v > 0 && v < 65536) m_ansiCp = v;
            break;
        case Kw::Deff:
            m_deff = v;
            break;
        case Kw::FontTbl:
            g.dest = Dest::FontTable;
            m_tblFont = -1;
            m_tblCharset = -1;
            m_tblCpg = 0;
            m_tblName.clear();
            break;
        case Kw::ColorTbl:
            g.dest = Dest::ColorTable;
            m_colors.clear();
            m_red = m_green = m_blue = -1;
            break;
        case Kw::SkipDest:
            g.dest = Dest::Skip;
            break;
        case Kw::Pict:
            flushRun();
            g.dest = Dest::Picture;
            m_pictGroup = int(m_stack.size()) - 1;
            m_pictKind = Kw::OtherBlip;
            m_pictData.clear();
            m_nibble = -1;
            m_wGoal = m_hGoal = 0;
            m_scaleX = m_scaleY = 100;
            break;
        case Kw::Par:
            paragraph();
            break;
        case Kw::Line:
            emitChar(QChar::LineSeparator);
            break;
        case Kw::Tab:
            emitChar('\t');
            break;
        case Kw::Char:
            emitChar(k.ch);
            break;
        case Kw::B:
            g.chr.bold = on;
            break;
        case Kw::I:
            g.chr.italic = on;
            break;
        case Kw::Ul:
            g.chr.underline = on;
            break;
        case Kw::UlNone:
            g.chr.underline = false;
            break;
        case Kw::Strike:
            g.chr.strike = on;
            break;
        case Kw::Fs:
            g.chr.halfPoints = v > 0 ? std::min(v, 3000) : 0;
            break;
        case Kw::F:
            g.chr.font = v;
            break;
        case Kw::Cf:
            g.chr.fg = v;
            break;
        case Kw::Bg:
            g.chr.bg = v;
            break;
        case Kw::Plain:
            g.chr = CharProps{};
            break;
        case Kw::Pard:
            g.para = ParaProps{};
            break;
        case Kw::Ql:
            g.para.align = Qt::AlignLeft;
            break;
        case Kw::Qc:
            g.para.align = Qt::AlignHCenter;
            break;
        case Kw::Qr:
            g.para.align = Qt::AlignRight;
            break;
        case Kw::Qj:
            g.para.align = Qt::AlignJustify;
            break;
        case Kw::Li:
            g.para.li = clampTwips(v);
            break;
        case Kw::Ri:
            g.para.ri = clampTwips(v);
            break;
        case Kw::Fi:
            g.para.fi = clampTwips(v);
            break;
        case Kw::Sb:
            g.para.sb = clampTwips(v);
            break;
        case Kw::Sa:
            g.para.sa = clampTwips(v);
            break;
        case Kw::U: {
            const int code = v < 0 ? v + 65536 : v;
            if (code >= 0 && code <= 0x10FFFF) emitCode(char32_t(code));
            m_skipChars = g.uc;
            break;
        }
        case Kw::Uc:
            g.uc = std::clamp(v, 0, 255);
            break;
        default:
            break;
        }
    }

    static int clampTwips(int v) { return std::clamp(v, -31680, 31680); }

    void fontTableWord(Kw kw, int v) {
        switch (kw) {
        case Kw::F:
            if (!m_tblName.trimmed().isEmpty()) commitFont();
            m_tblFont = v;
            m_tblCharset = -1;
            m_tblCpg = 0;
            m_tblName.clear();
            break;
        case Kw::FCharset:
            m_tblCharset = v;
            break;
        case Kw::Cpg:
            m_tblCpg = v;
            break;
        default:
            break;
        }
    }

    void commitFont() {
        if (m_tblFont >= 0) {
            FontEntry e;
            e.codePage = m_tblCpg > 0 && m_tblCpg < 65536
                             ? m_tblCpg
                             : CodePageOfCharset(m_tblCharset, m_ansiCp);
            e.name = DecodeCodePage(m_tblName.trimmed(), e.codePage);
            m_fonts.insert(m_tblFont, e);
        }
        m_tblFont = -1;
        m_tblName.clear();
    }

    void colorTableWord(Kw kw, int v) {
        v = std::clamp(v, 0, 255);
        if (kw == Kw::Red)
            m_red = v;
        else if (kw == Kw::Green)
            m_green = v;
        else if (kw == Kw::Blue)
            m_blue = v;
    }

    void commitColor() {
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colors.push_back(std::nullopt); // "auto"
        else
            m_colors.push_back(
                QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        m_red = m_green = m_blue = -1;
    }

    void pictureWord(Kw kw, int v) {
        switch (kw) {
        case Kw::PngBlip:
        case Kw::JpegBlip:
        case Kw::OtherBlip:
            m_pictKind = kw;
            break;
        case Kw::PicWGoal:
            m_wGoal = std::max(v, 0);
            break;
        case Kw::PicHGoal:
            m_hGoal = std::max(v, 0);
            break;
        case Kw::PicScaleX:
            m_scaleX = std::clamp(v, 1, 1000);
            break;
        case Kw::PicScaleY:
            m_scaleY = std::clamp(v, 1, 1000);
            break;
        default:
            break;
        }
    }

    void textByte(uchar b) {
        if (swallowed()) return;
        switch (top().dest) {
        case Dest::Text:
            if (b == '\t')
                emitChar('\t');
            else if (b >= 0x20)
                emitByte(b);
            break;
        case Dest::FontTable:
            if (b == ';')
                commitFont();
            else
                m_tblName.append(char(b));
            break;
        case Dest::ColorTable:
            if (b == ';') commitColor();
            break;
        case Dest::Picture: {
            const int h = hexValue(char(b));
            if (h < 0) break;
            if (m_nibble < 0) {
                m_nibble = h;
            } else {
                m_pictData.append(char(m_nibble * 16 + h));
                m_nibble = -1;
            }
            break;
        }
        case Dest::Skip:
            break;
        }
    }

    // --- output ------------------------------------------------------------

    int codePageOf(int font) const {
        auto it = m_fonts.constFind(font >= 0 ? font : m_deff);
        return it != m_fonts.constEnd() ? it->codePage : m_ansiCp;
    }

    void ensureRun() {
        const CharProps& now = top().chr;
        if (m_runOpen && now == m_runProps) return;
        flushRun();
        m_runProps = now;
        m_runCp = codePageOf(now.font);
        m_runOpen = true;
    }

    void decodePending() {
        if (m_runBytes.isEmpty()) return;
        m_runText += DecodeCodePage(m_runBytes, m_runCp);
        m_runBytes.clear();
    }

    void emitByte(uchar b) {
        ensureRun();
        m_runBytes.append(char(b));
    }

    void emitChar(char16_t c) {
        if (top().dest != Dest::Text) return;
        ensureRun();
        decodePending();
        m_runText += QChar(c);
    }

    void emitCode(char32_t code) {
        if (code < 0x20 && code != '\t') return; // control characters are no text
        if (code <= 0xFFFF) {
            emitChar(char16_t(code));
        } else {
            const char32_t u[1] = {code};
            const QString pair = QString::fromUcs4(u, 1);
            for (QChar c : pair)
                emitChar(c.unicode());
        }
    }

    QTextCharFormat charFormat(const CharProps& p) const {
        QTextCharFormat f;
        if (p.bold) f.setFontWeight(QFont::Bold);
        if (p.italic) f.setFontItalic(true);
        if (p.underline) f.setFontUnderline(true);
        if (p.strike) f.setFontStrikeOut(true);
        if (p.halfPoints > 0) f.setFontPointSize(p.halfPoints / 2.0);
        auto font = m_fonts.constFind(p.font >= 0 ? p.font : m_deff);
        if (font != m_fonts.constEnd() && !font->name.isEmpty())
            f.setFontFamilies(QStringList{font->name});
        if (auto c = color(p.fg)) f.setForeground(*c);
        if (auto c = color(p.bg)) f.setBackground(*c);
        return f;
    }

    std::optional<QColor> color(int index) const {
        if (index < 0 || size_t(index) >= m_colors.size()) return std::nullopt;
        return m_colors[size_t(index)];
    }

    void flushRun() {
        if (!m_runOpen) return;
        decodePending();
        if (!m_runText.isEmpty()) {
            fixSurrogates(m_runText);
            m_cur.insertText(m_runText, charFormat(m_runProps));
            m_runText.clear();
        }
        m_runOpen = false;
    }

    QTextBlockFormat blockFormat(const ParaProps& p) const {
        QTextBlockFormat f;
        f.setAlignment(p.align);
        f.setLeftMargin(px(p.li));
        f.setRightMargin(px(p.ri));
        f.setTextIndent(px(p.fi));
        // A hanging indent has an implicit tab stop at the left indent, so
        // that "bullet, tab, text" lines the text up with the lines below.
        if (p.fi < 0) f.setTabPositions({QTextOption::Tab(px(-p.fi), QTextOption::LeftTab)});
        f.setTopMargin(px(p.sb));
        f.setBottomMargin(px(p.sa));
        return f;
    }

    void paragraph() {
        if (top().dest != Dest::Text) return;
        flushRun();
        m_cur.setBlockFormat(blockFormat(top().para));
        // An empty paragraph takes its height from this format.
        m_cur.setBlockCharFormat(charFormat(top().chr));
        m_cur.insertBlock();
    }

    void endDocument(const ParaProps& para) {
        if (m_ended) return;
        m_ended = true;
        flushRun();
        m_cur.setBlockFormat(blockFormat(para));
    }

    void finishPicture() {
        const Kw kind = m_pictKind;
        QByteArray data;
        data.swap(m_pictData);
        m_pictGroup = -1;
        if (kind != Kw::PngBlip && kind != Kw::JpegBlip) return; // metafiles and DIBs: not shown
        QImage img;
        if (!img.loadFromData(data, kind == Kw::PngBlip ? "PNG" : "JPEG") || img.isNull()) return;
        qreal w = img.width(), h = img.height();
        if (m_wGoal > 0 && m_hGoal > 0) {
            w = px(m_wGoal);
            h = px(m_hGoal);
        } else if (m_wGoal > 0) {
            h = h * px(m_wGoal) / w;
            w = px(m_wGoal);
        } else if (m_hGoal > 0) {
            w = w * px(m_hGoal) / h;
            h = px(m_hGoal);
        }
        w = std::clamp(w * m_scaleX / 100.0, 1.0, 20000.0);
        h = std::clamp(h * m_scaleY / 100.0, 1.0, 20000.0);
        const QString name =
            QStringLiteral("rtfpict%1.%2")
                .arg(++m_images)
                .arg(kind == Kw::PngBlip ? QStringLiteral("png") : QStringLiteral("jpg"));
        m_doc->addResource(QTextDocument::ImageResource, QUrl(name), QVariant(img));
        QTextImageFormat f;
        f.setName(name);
        f.setWidth(w);
        f.setHeight(h);
        flushRun();
        m_cur.insertImage(f);
    }

    QTextDocument* m_doc;
    QTextCursor m_cur;
    const char* m_p;
    const char* m_end;

    std::vector<Group> m_stack;
    int m_overflow = 0;           // groups open beyond the depth limit
    bool m_ignorableNext = false; // after \*
    int m_skipChars = 0;          // characters still to drop after \u
    bool m_done = false;
    bool m_ended = false;

    int m_ansiCp = 1252;
    int m_deff = -1;
    QHash<int, FontEntry> m_fonts;
    std::vector<std::optional<QColor>> m_colors;

    int m_tblFont = -1, m_tblCharset = -1, m_tblCpg = 0;
    QByteArray m_tblName;
    int m_red = -1, m_green = -1, m_blue = -1;

    int m_pictGroup = -1; // stack index of the open picture group
    Kw m_pictKind = Kw::OtherBlip;
    QByteArray m_pictData;
    int m_nibble = -1;
    int m_wGoal = 0, m_hGoal = 0, m_scaleX = 100, m_scaleY = 100;
    int m_images = 0;

    CharProps m_runProps;
    bool m_runOpen = false;
    int m_runCp = 1252;
    QString m_runText;
    QByteArray m_runBytes;
};

} // namespace

void LoadRtfInto(QTextDocument* doc, const QByteArray& bytes) {
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    Reader(doc, bytes).run();
    doc->setUndoRedoEnabled(undo);
}
