#pragma once
// The map of help topics: help/topics.txt, UTF-8, one "key<TAB>file" per
// line, the key a topic number or a keyword. Empty lines and lines starting
// with "#" are notes. Files are plain names inside the help folder.
#include <QByteArray>
#include <QHash>
#include <QString>

class HelpTopicMap {
public:
    static HelpTopicMap Parse(const QByteArray& utf8);
    // Throws FileError when the map cannot be read.
    static HelpTopicMap Load(const QString& path);

    // The page of a topic or keyword; empty when the map has none.
    QString fileForTopic(int topic) const;
    QString fileForKeyword(const QString& keyword) const;
    // Lines that were neither a note nor a usable entry (1-based numbers).
    const QList<int>& badLines() const { return m_bad; }
    qsizetype size() const { return m_topics.size() + m_keywords.size(); }

    static QString ContentsFile() { return QStringLiteral("index.html"); }

private:
    QHash<int, QString> m_topics;
    QHash<QString, QString> m_keywords;
    QList<int> m_bad;
};
