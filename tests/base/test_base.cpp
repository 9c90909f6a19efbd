#include "base/binrec.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/numconv.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "base/timingline.h"
#include "common/messages.h"
#include "common/testenv.h"
#include "controls/guard.h"

#include <cerrno>
#include <QtTest>

using Int = std::optional<qint32>;

class TestBase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void codecRoundTripsEveryByte() {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = DecodeCp1251(all);
        QCOMPARE(EncodeCp1251(text), all);
        // The edges of the ASCII half and of the table, and a letter inside it.
        QCOMPARE(text.mid(0x7F, 2) + text.at(0xA8) + text.at(0xFF),
                 QStringLiteral("\x7F\u0402\u0401\u044F"));
        // What the code page lacks becomes a question mark.
        QCOMPARE(EncodeCp1251(QStringLiteral("a\u4E2Db\u04FF")), QByteArray("a?b?"));
        QVERIFY(!IsCp1251Encodable(QStringLiteral("\u4E2D")));
        QVERIFY(IsCp1251Encodable(QStringLiteral("Привет")));
    }

    void lineRules_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("crlf, lf, no final end")
            << QByteArray("a\r\nb\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("two ends add an empty line")
            << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
        QTest::newRow("lone cr stays data") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
        QTest::newRow("lone cr ending the file")
            << QByteArray("#\t#\r\n0\t1500\r") << QStringList{"#\t#", "0\t1500"};
    }
    void lineRules() {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, lines);
        QStringList got;
        for (const QByteArray& l : SplitLines(data))
            got << QString::fromLatin1(l);
        QCOMPARE(got, lines);
        QCOMPARE(CountLines(data), int(lines.size()));
        LineReader r(data);
        QByteArray l;
        int n = 0;
        while (r.next(l))
            QCOMPARE(r.lineNumber(), ++n);
    }

    void integerConversion_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Int>("value");
        QTest::newRow("blanks") << QByteArray("   79") << Int(79);
        QTest::newRow("plus") << QByteArray("+5") << Int(5);
        QTest::newRow("max") << QByteArray("2147483647") << Int(2147483647);
        QTest::newRow("min") << QByteArray("-2147483648") << Int(-2147483647 - 1);
        QTest::newRow("over max") << QByteArray("2147483648") << Int();
        QTest::newRow("under min") << QByteArray("-2147483649") << Int();
        QTest::newRow("only sign") << QByteArray("-") << Int();
        QTest::newRow("trailing blank") << QByteArray("5 ") << Int();
    }
    void integerConversion() {
        QFETCH(QByteArray, text);
        QFETCH(Int, value);
        QCOMPARE(TryStrToInt(QByteArrayView(text)), value);
    }

    void binaryFields() {
        QByteArray buf(20, 'x');
        PutStrField(buf, 2, 5, QByteArray("abcdefgh"));
        QCOMPARE(buf.mid(1, 8), QByteArray("x\5abcdex"));
        PutStrField(buf, 2, 5, QByteArray("ab"));
        QCOMPARE(buf.mid(2, 6), QByteArray("\2ab\0\0\0", 6));
        QCOMPARE(GetStrFieldBytes(buf, 2, 5), QByteArray("ab"));
        // A stored length beyond the field is clamped, never read past it.
        buf[2] = char(200);
        QCOMPARE(GetStrFieldBytes(buf, 2, 5).size(), 5);
        // Cyrillic through the codec.
        PutStrField(buf, 0, 10, QStringLiteral("Анна"));
        QCOMPARE(GetStrField(buf, 0, 10), QStringLiteral("Анна"));
        QCOMPARE(int(quint8(buf[1])), 0xC0);
        PutInt32LE(buf, 2, -2);
        QCOMPARE(buf.mid(2, 4), QByteArray("\xFE\xFF\xFF\xFF"));
        QCOMPARE(GetInt32LE(buf, 2), -2);
    }

    void filesAndPaths() {
        QCOMPARE(FileError::FromErrno(ENOENT).code(), int(ErrFileNotFound));
        QCOMPARE(FileError::FromErrno(EACCES).code(), int(ErrAccessDenied));
        QCOMPARE(FileError::FromErrno(ENOSPC).code(), int(ErrDiskFull));
        testenv::CourseDir dir;
        QCOMPARE(testenv::FileErrorCode([] { ReadWholeFile(QStringLiteral("nothere.txt")); }),
                 int(ErrFileNotFound));
        QDir().mkdir(QStringLiteral("sub"));
        QCOMPARE(testenv::FileErrorCode([] { ReadWholeFile(QStringLiteral("sub")); }),
                 int(ErrAccessDenied));
        // Stored names with backslashes reach the file.
        testenv::WriteBytes(dir.file("sub/a.txt"), "x\r\n");
        QCOMPARE(ReadTextLines(QStringLiteral("sub\\a.txt")), QStringList{"x"});
        // An atomic write replaces the whole file; one into a missing folder fails.
        WriteFileAtomic(QStringLiteral("f.bin"), "old content");
        WriteFileAtomic(QStringLiteral("f.bin"), JoinLinesCrLf({"a", "Б"}));
        QCOMPARE(testenv::ReadBytes(dir.file("f.bin")), QByteArray("a\r\n\xC1\r\n"));
        QCOMPARE(
            testenv::FileErrorCode([] { WriteFileAtomic(QStringLiteral("missing/f.bin"), "x"); }),
            int(ErrInvalidFilename));
        QCOMPARE(ReplaceLast3(QStringLiteral("Report\\Ann\\Ann3.wav"), QStringLiteral("txt")),
                 QStringLiteral("Report\\Ann\\Ann3.txt"));
        QCOMPARE(DirPartWithSep(QStringLiteral("C:\\x\\Report/Ann\\Ann.rep")),
                 QStringLiteral("C:\\x\\Report/Ann\\"));
        QCOMPARE(DirPartWithSep(QStringLiteral("plain")), QString());
        QDir().mkpath(QStringLiteral("Report/Ann"));
        QVERIFY(IsInsideDir(QStringLiteral("Report\\Ann\\x.wav"), QStringLiteral("Report")));
        QVERIFY(!IsInsideDir(QStringLiteral("Report/../x.wav"), QStringLiteral("Report")));
        QVERIFY(!IsInsideDir(QStringLiteral("Report"), QStringLiteral("Report")));
    }

    void timingLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("hash");
        QTest::addColumn<int>("start"); // -1: no timing line
        QTest::addColumn<int>("end");
        QTest::newRow("plain") << QByteArray("0\t1500") << false << 0 << 1500;
        QTest::newRow("hash tab hash") << QByteArray("#\t#") << true << 0 << 0;
        QTest::newRow("hash in vocabulary") << QByteArray("#\t#") << false << -1 << 0;
        QTest::newRow("empty") << QByteArray() << true << -1 << 0;
        QTest::newRow("no tab") << QByteArray("1500") << true << -1 << 0;
        QTest::newRow("second tab in end") << QByteArray("1\t2\t3") << true << -1 << 0;
    }
    void timingLines() {
        QFETCH(QByteArray, line);
        QFETCH(bool, hash);
        QFETCH(int, start);
        QFETCH(int, end);
        if (start < 0) {
            QVERIFY_THROWS_EXCEPTION(VError, ParseTimingLine(line, hash));
            return;
        }
        const TTimingEntry e = ParseTimingLine(line, hash);
        QCOMPARE(QList<int>({e.StartPos, e.EndPos}), QList<int>({start, end}));
    }

    void guardShowsTheErrorText() {
        testui::MessageRecorder shown;
        QVERIFY(!Guarded([] { throw FileError(ErrFileNotFound); }));
        QVERIFY(!Guarded([] { throw std::runtime_error("boom"); }));
        QVERIFY(Guarded([] {}));
        QCOMPARE(shown.texts(), (QStringList{FileError::TextOf(ErrFileNotFound), "boom"}));
    }
};

QTEST_MAIN(TestBase)
#include "test_base.moc"
