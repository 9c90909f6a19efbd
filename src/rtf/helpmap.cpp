#include "rtf/helpmap.h"

#include "base/numconv.h"
#include "base/textfile.h"

#include <QRegularExpression>

namespace {
// A page must stay inside the help folder: a bare name such as "main.html"
// or "sub/page.html", never absolute and never with "..".
bool isPlainPageName(const QString& f) {
    static const QRegularExpression ok(
        QStringLiteral("^[A-Za-z0-9_\\-]+(/[A-Za-z0-9_\\-]+)*\\.html?$"));
    return ok.match(f).hasMatch();
}
} // namespace

HelpTopicMap HelpTopicMap::Parse(const QByteArray& utf8) {
    HelpTopicMap map;
    LineReader r(utf8);
    QByteArray raw;
    while (r.next(raw)) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QString key = tab < 0 ? QString() : line.left(tab).trimmed();
        const QString file = tab < 0 ? QString() : line.mid(tab + 1).trimmed();
        if (key.isEmpty() || !isPlainPageName(file)) {
            map.m_bad.append(r.lineNumber());
            continue;
        }
        if (key.front().isDigit()) {
            const auto n = TryStrToInt(key);
            if (!n) {
                map.m_bad.append(r.lineNumber());
                continue;
            }
            if (!map.m_topics.contains(*n)) map.m_topics.insert(*n, file);
        } else if (!map.m_keywords.contains(key)) {
            map.m_keywords.insert(key, file);
        }
    }
    return map;
}

HelpTopicMap HelpTopicMap::Load(const QString& path) {
    return Parse(ReadWholeFile(path));
}

QString HelpTopicMap::fileForTopic(int topic) const {
    return m_topics.value(topic);
}

QString HelpTopicMap::fileForKeyword(const QString& keyword) const {
    auto it = m_keywords.constFind(keyword);
    if (it != m_keywords.constEnd()) return *it;
    // Keywords are written by hand in many places; a difference of letter
    // case should not cost the learner the page.
    for (auto i = m_keywords.constBegin(); i != m_keywords.constEnd(); ++i)
        if (i.key().compare(keyword, Qt::CaseInsensitive) == 0) return i.value();
    return {};
}
