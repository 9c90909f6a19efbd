#include "text/sintagmlayout.h"

#include <cmath>

double IntervalFactor(TIntevalString v) {
    switch (v) {
    case is0_75:
        return 0.75;
    case is1_00:
        return 1.0;
    case is1_25:
        return 1.25;
    case is1_50:
        return 1.5;
    case is1_75:
        return 1.75;
    case is2_00:
        return 2.0;
    }
    return 1.0;
}

namespace {

// Rows grow in steps of 20 so that wrapping does not reallocate per row.
void ensureRows(QList<TSintagmRow>& rows, int lastRow) {
    if (rows.size() - 1 - lastRow < 20) rows.resize(rows.size() + 20);
}

} // namespace

QString SintagmSpokenText(const QString& line) {
    if (!line.startsWith(QLatin1Char('#'))) return line;
    if (line.size() > 1 && line[1] == QLatin1Char('@')) return {};
    return line.mid(1);
}

TSintagmLayout LayoutSintagms(const QStringList& text, int availWidth, const TextWidthFn& width,
                              const PictureLoadFn& loadPicture) {
    TSintagmLayout l;
    if (text.isEmpty()) return l;
    const int n = int(text.size());
    l.Spans.resize(n);
    l.Rows.resize(20);
    int last = 1;
    for (int i = 0; i < n; ++i) {
        ensureRows(l.Rows, last);
        const QString& s = text[i];
        TSintagmSpan& sp = l.Spans[i];
        if (s.startsWith(QLatin1Char('#'))) {
            QString content;
            if (s.size() > 1 && s[1] == QLatin1Char('@')) {
                if (!loadPicture || !loadPicture(s.mid(2))) break; // the rest is not laid out
                content = QLatin1Char('@') + QString::number(l.Pictures++);
            } else {
                content = s.mid(1);
            }
            // A heading or picture has a row of its own; the next text starts afresh.
            ++last;
            l.Rows[last].RowText = content;
            sp.FirstRow = sp.LastRow = last;
            sp.FirstCol = 1;
            sp.LastCol = int(content.size());
            ++last;
            l.Rows[last].RowText.clear();
        } else {
            sp.FirstRow = last;
            sp.FirstCol = int(l.Rows[last].RowText.size());
            qsizetype from = 0;
            while (from < s.size()) {
                qsizetype blank = s.indexOf(QLatin1Char(' '), from);
                qsizetype end = blank < 0 ? s.size() : blank + 1;
                QStringView word = QStringView(s).sliced(from, end - from);
                QString& row = l.Rows[last].RowText;
                const qsizetype before = row.size();
                row.append(word);
                if (width(row) > availWidth) {
                    row.truncate(before);
                    ++last;
                    ensureRows(l.Rows, last);
                    l.Rows[last].RowText = word.toString();
                }
                from = end;
            }
            l.Rows[last].RowText.append(QLatin1Char(' '));
            sp.LastRow = last;
            sp.LastCol = int(l.Rows[last].RowText.size());
        }
        l.LinesLaid = i + 1;
    }
    l.LastRow = last;
    l.Rows.resize(last + 1);
    return l;
}

void SpanRows(const TSintagmLayout& l, int j, int& first, int& last) {
    first = 1;
    last = 0;
    if (j < 0 || j >= l.LinesLaid) return;
    const TSintagmSpan& sp = l.Spans[j];
    first = sp.FirstRow;
    last = qMin(sp.LastRow, l.LastRow);
}

void SetSpanLook(TSintagmLayout& l, int j, TTextLook look) {
    int first, last;
    SpanRows(l, j, first, last);
    if (first > last) return;
    const TSintagmSpan& sp = l.Spans[j];
    for (int r = first; r <= last; ++r) {
        QList<TCharAttr>& a = l.Rows[r].Attrs;
        const int len = int(a.size()) - 1;
        int from = r == sp.FirstRow ? qMax(1, sp.FirstCol) : 1;
        int to = r == sp.LastRow ? qMin(sp.LastCol, len) : len;
        for (int k = from; k <= to; ++k) {
            a[k].Style = look.Style;
            a[k].Color = look.Color;
        }
    }
}

void ApplyLooks(TSintagmLayout& l, const TLooks& looks) {
    for (int r = 0; r <= l.LastRow && r < l.Rows.size(); ++r) {
        TSintagmRow& row = l.Rows[r];
        const int len = int(row.RowText.size());
        row.Attrs.resize(len + 1);
        row.Attrs[0] = TCharAttr{};
        for (int k = 1; k <= len; ++k)
            row.Attrs[k] = TCharAttr{row.RowText[k - 1], looks.Font.Style, looks.Font.Color};
    }
    if (looks.FlagSelMultSint && looks.NEnd >= looks.NBegin)
        for (int j = qMax(0, looks.NBegin); j <= looks.NEnd && j < l.LinesLaid; ++j)
            SetSpanLook(l, j, looks.Mult);
    SetSpanLook(l, looks.Position, looks.Sel);
}

int RowY(int textTop, int charHeight, double factor, int row, double scrollOffset) {
    return textTop + int(std::lround(charHeight * row * factor)) + int(std::lround(scrollOffset));
}

double ScrollDelta(int d, int kSpeed, int height) {
    if (d == 0 || height <= 0) return 0;
    const double tau = double(kSpeed) / height;
    const double dist = std::abs(double(d));
    double step = tau > 0 ? std::exp(dist / tau) : dist;
    if (!(step <= dist)) step = dist; // also catches an overflow to infinity
    return d > 0 ? -step : step;
}

int PictureRowIndex(const QString& rowText) {
    if (rowText.size() < 2 || rowText[0] != QLatin1Char('@')) return -1;
    int v = 0;
    for (qsizetype i = 1; i < rowText.size(); ++i) {
        const QChar c = rowText[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || v > 100000000) return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}
