#include "base/binrec.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/numconv.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "base/timingline.h"
#include "common/testenv.h"
#include "controls/guard.h"

#include <cerrno>
#include <QtTest>

class TestBase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void codecRoundTripsEveryByte() {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = DecodeCp1251(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(EncodeCp1251(text), all);
        // Distinct bytes give distinct characters.
        QSet<QChar> seen(text.begin(), text.end());
        QCOMPARE(seen.size(), 256);
        // What the code page lacks becomes a question mark.
        QCOMPARE(EncodeCp1251(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
        QVERIFY(!IsCp1251Encodable(QStringLiteral("\u4E2D")));
        QVERIFY(IsCp1251Encodable(QStringLiteral("Привет")));
    }

    void codecKnownCharacters_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        // The edges of the ASCII half and of the table, and a letter inside it.
        QTest::newRow("last ascii") << 0x7F << 0x7F;
        QTest::newRow("first of the table") << 0x80 << 0x0402;
        QTest::newRow("Yo") << 0xA8 << 0x0401;
        QTest::newRow("ya") << 0xFF << 0x044F;
    }
    void codecKnownCharacters() {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        const QByteArray b(1, char(byte));
        QCOMPARE(int(DecodeCp1251(b).at(0).unicode()), unicode); // encoding follows: the round trip
    }

    void lineRules_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("no final end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("bare lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("two ends add an empty line")
            << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
        QTest::newRow("lone cr stays data") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
        QTest::newRow("lone cr ending the file")
            << QByteArray("#\t#\r\n0\t1500\r") << QStringList{"#\t#", "0\t1500"};
    }
    void lineRules() {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, lines);
        QList<QByteArray> got = SplitLines(data);
        QStringList s;
        for (auto& l : got)
            s << QString::fromLatin1(l);
        QCOMPARE(s, lines);
        QCOMPARE(CountLines(data), int(lines.size()));
        LineReader r(data);
        QByteArray l;
        int n = 0;
        while (r.next(l))
            QCOMPARE(r.lineNumber(), ++n);
        QCOMPARE(n, int(lines.size()));
    }

    void integerConversion_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("blanks") << QByteArray("   7") << true << 7;
        QTest::newRow("plus") << QByteArray("+5") << true << 5;
        QTest::newRow("minus") << QByteArray("-12") << true << -12;
        QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("min") << QByteArray("-2147483648") << true << int(-2147483648LL);
        QTest::newRow("over max") << QByteArray("2147483648") << false << 0;
        QTest::newRow("under min") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("huge") << QByteArray("99999999999999999999") << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("only sign") << QByteArray("-") << false << 0;
        QTest::newRow("trailing blank") << QByteArray("5 ") << false << 0;
        QTest::newRow("blank between sign") << QByteArray("- 5") << false << 0;
        QTest::newRow("tab before") << QByteArray("\t5") << false << 0;
    }
    void integerConversion() {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        auto v = TryStrToInt(QByteArrayView(text));
        QCOMPARE(v.has_value(), ok);
        if (ok) QCOMPARE(*v, value);
        if (!ok) QVERIFY_THROWS_EXCEPTION(ConvertError, StrToInt(QByteArrayView(text)));
    }

    void stringFields() {
        QByteArray buf(20, char(0x55));
        PutStrField(buf, 2, 5, QByteArray("abcdefgh"));
        QCOMPARE(int(quint8(buf[2])), 5);
        QCOMPARE(buf.mid(3, 5), QByteArray("abcde"));
        QCOMPARE(buf[1], char(0x55)); // neighbours untouched
        QCOMPARE(buf[8], char(0x55));
        PutStrField(buf, 2, 5, QByteArray("ab"));
        QCOMPARE(buf.mid(2, 6), QByteArray("\x02"
                                           "ab\0\0\0",
                                           6));
        QCOMPARE(GetStrFieldBytes(buf, 2, 5), QByteArray("ab"));
        // A stored length beyond the field is clamped, never read past it.
        buf[2] = char(200);
        QCOMPARE(GetStrFieldBytes(buf, 2, 5).size(), 5);
        // Cyrillic through the codec.
        PutStrField(buf, 0, 10, QStringLiteral("Анна"));
        QCOMPARE(GetStrField(buf, 0, 10), QStringLiteral("Анна"));
        QCOMPARE(int(quint8(buf[1])), 0xC0);
    }

    void littleEndian() {
        QByteArray b(8, '\0');
        PutInt32LE(b, 2, -2);
        QCOMPARE(b.mid(2, 4), QByteArray("\xFE\xFF\xFF\xFF"));
        QCOMPARE(GetInt32LE(b, 2), -2);
        PutInt32LE(b, 0, 0x01020304);
        QCOMPARE(b.left(4), QByteArray("\x04\x03\x02\x01"));
    }

    void fileErrorTexts_data() {
        QTest::addColumn<int>("err");
        QTest::addColumn<QString>("text");
        QTest::newRow("ENOENT") << ENOENT << "File not found";
        QTest::newRow("EACCES") << EACCES << "File access denied";
        QTest::newRow("EMFILE") << EMFILE << "Too many open files";
        QTest::newRow("ENOSPC") << ENOSPC << "Disk full";
        QTest::newRow("EEXIST") << EEXIST << "I/O error 183";
        QTest::newRow("ENOTDIR") << ENOTDIR << "Invalid filename";
    }
    void fileErrorTexts() {
        QFETCH(int, err);
        QFETCH(QString, text);
        QCOMPARE(FileError::FromErrno(err).text(), text);
    }

    void readingMissingAndDirectory() {
        testenv::CourseDir dir;
        try {
            ReadWholeFile(QStringLiteral("nothere.txt"));
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.text(), QStringLiteral("File not found"));
        }
        QDir().mkdir(QStringLiteral("sub"));
        QVERIFY_THROWS_EXCEPTION(FileError, ReadWholeFile(QStringLiteral("sub")));
        // Stored names with backslashes reach the file.
        testenv::WriteBytes(dir.file("sub/a.txt"), "x\r\n");
        QCOMPARE(ReadTextLines(QStringLiteral("sub\\a.txt")), QStringList{"x"});
        QVERIFY(PathExists(QStringLiteral("sub\\a.txt")));
    }

    void atomicWriteKeepsOldFileOnFailure() {
        testenv::CourseDir dir;
        WriteFileAtomic(QStringLiteral("f.bin"), "old");
        QCOMPARE(testenv::ReadBytes(dir.file("f.bin")), QByteArray("old"));
        WriteFileAtomic(QStringLiteral("f.bin"), "new content");
        QCOMPARE(testenv::ReadBytes(dir.file("f.bin")), QByteArray("new content"));
        try {
            WriteFileAtomic(QStringLiteral("missing/f.bin"), "x");
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.text(), QStringLiteral("Invalid filename"));
        }
        QCOMPARE(JoinLinesCrLf({"a", "Б"}), QByteArray("a\r\n\xC1\r\n"));
    }

    void pathHelpers() {
        QCOMPARE(ReplaceLast3(QStringLiteral("L1.txt"), QStringLiteral("apc")),
                 QStringLiteral("L1.apc"));
        QCOMPARE(ReplaceLast3(QStringLiteral("Report\\Ann\\Ann3.wav"), QStringLiteral("txt")),
                 QStringLiteral("Report\\Ann\\Ann3.txt"));
        QCOMPARE(DirPartWithSep(QStringLiteral("C:\\x\\Report\\Ann\\Ann.rep")),
                 QStringLiteral("C:\\x\\Report\\Ann\\"));
        QCOMPARE(DirPartWithSep(QStringLiteral("plain")), QString());
        testenv::CourseDir dir;
        QDir().mkpath(QStringLiteral("Report/Ann"));
        QVERIFY(IsInsideDir(QStringLiteral("Report\\Ann\\x.wav"), QStringLiteral("Report")));
        QVERIFY(!IsInsideDir(QStringLiteral("Report/../x.wav"), QStringLiteral("Report")));
        QVERIFY(!IsInsideDir(QStringLiteral("/etc/passwd"), QStringLiteral("Report")));
        QVERIFY(!IsInsideDir(QStringLiteral("Report"), QStringLiteral("Report")));
    }

    void timingLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("hash");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::newRow("plain") << QByteArray("0\t1500") << false << true << 0 << 1500;
        QTest::newRow("hash tab hash") << QByteArray("#\t#") << true << true << 0 << 0;
        QTest::newRow("lone hash") << QByteArray("#") << true << true << 0 << 0;
        QTest::newRow("hash in vocabulary") << QByteArray("#\t#") << false << false << 0 << 0;
        QTest::newRow("bad end") << QByteArray("12\tx") << false << false << 0 << 0;
        QTest::newRow("no tab") << QByteArray("1500") << true << false << 0 << 0;
        QTest::newRow("second tab in end") << QByteArray("1\t2\t3") << true << false << 0 << 0;
        QTest::newRow("blanks") << QByteArray(" 10\t 20") << true << true << 10 << 20;
    }
    void timingLines() {
        QFETCH(QByteArray, line);
        QFETCH(bool, hash);
        QFETCH(bool, ok);
        QFETCH(int, start);
        QFETCH(int, end);
        if (!ok) {
            QVERIFY_THROWS_EXCEPTION(VError, ParseTimingLine(line, hash));
            return;
        }
        TTimingEntry e = ParseTimingLine(line, hash);
        QCOMPARE(e.StartPos, start);
        QCOMPARE(e.EndPos, end);
    }

    void guardShowsTheErrorText() {
        QStringList shown;
        auto old = SetXMessageHandler([&](const QString& t, const QString&, int flags) {
            shown << QStringLiteral("%1|%2").arg(t).arg(flags);
            return 1;
        });
        QVERIFY(!Guarded([] { throw FileError(ErrFileNotFound); }));
        QVERIFY(!Guarded([] { throw std::runtime_error("boom"); }));
        QVERIFY(Guarded([] {}));
        SetXMessageHandler(old);
        QCOMPARE(shown, (QStringList{"File not found|16", "boom|16"}));
    }
};

QTEST_MAIN(TestBase)
#include "test_base.moc"
