// The sintagm view as a widget: what its paints put into the off-screen
// picture, its pictures, a click reaching its signal, and what a screen
// reader hears when the current sintagm moves.
#include "common/testenv.h"
#include "controls/accessiblecontrols.h"
#include "text/textsintagm.h"

#include <QAccessible>
#include <QtTest>

namespace {

// Counts pixels of a colour (close to it: text is anti-aliased) in a band of rows.
int countColour(const QImage& img, QRgb c, int y0, int y1, int tolerance = 60) {
    int n = 0;
    for (int y = qMax(0, y0); y < qMin(img.height(), y1); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qAbs(qRed(p) - qRed(c)) + qAbs(qGreen(p) - qGreen(c)) + qAbs(qBlue(p) - qBlue(c)) <
                tolerance)
                ++n;
        }
    return n;
}

void savePicture(const QString& path, QColor c, QSize s = {40, 30}) {
    QImage img(s, QImage::Format_RGB32);
    img.fill(c);
    QVERIFY(img.save(path, "BMP"));
}

// Shows `v` at 400 x 300 with `text` in 16-pixel Arial, without margins.
void showText(TTextSintagm& v, const QStringList& text) {
    QFont f("Arial");
    f.setPixelSize(16);
    v.resize(400, 300);
    v.setTextFont(f);
    v.SetMargins(0, 0, 0, 0);
    v.setText(text);
    v.show();
}

} // namespace

class TestSintagmView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void highlightColours() {
        TTextSintagm v;
        showText(v, {"#Title", "first line", "#", "second line", "#", "third line"});
        v.setHeightIntervString(is1_25);
        v.setPosition(3);
        v.setNBegin(5);
        v.setNEnd(5);
        v.setFlagSelMultSint(true);
        v.Paint();
        const QImage& f = v.Frame();
        // Rows: 2 title (y 40), 3 first (60), 4 blank, 5 second (100), 6 blank, 7 third (140).
        const int pitch = 20;
        auto band = [&](int row) { return std::pair(row * pitch, row * pitch + pitch); };
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        // The current sintagm drawn red and the marked one blue, on their own rows.
        QVERIFY(countColour(f, red, band(5).first, band(5).second) > 20);
        QVERIFY(countColour(f, blue, band(7).first, band(7).second) > 20);
        QCOMPARE(countColour(f, red, band(7).first, band(7).second), 0);
    }

    void pictureVariants_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("marked") << 1 << true << qRgb(0, 200, 200);
        QTest::newRow("current wins over marked") << 2 << true << qRgb(200, 0, 200);
    }

    void pictureVariants() {
        QFETCH(int, position);
        QFETCH(bool, marked);
        QFETCH(QRgb, colour);
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("pics"));
        savePicture(dir.file("pics/p.bmp"), QColor(0, 200, 0));
        savePicture(dir.file("pics/rp.bmp"), QColor(200, 0, 200));
        savePicture(dir.file("pics/gp.bmp"), QColor(0, 200, 200));
        TTextSintagm v;
        v.resize(300, 300);
        v.setDirFileAdd("pics");
        v.setText({"#T", "one", "#@p.bmp", "two"});
        v.show();
        v.setPosition(position);
        if (marked) {
            v.setNBegin(1);
            v.setNEnd(2);
            v.setFlagSelMultSint(true);
        }
        v.Paint();
        // Row 4 at y 20 + 4 * 13; the picture is centred.
        const QImage& f = v.Frame();
        const int y = v.core().RowY(4);
        QCOMPARE(f.pixel(150, y + 5), colour);
        QCOMPARE(f.pixel(150 - 20, y + 29), colour);
        QCOMPARE(f.pixel(150 - 21, y + 5), qRgb(255, 255, 255));
    }

    // Lines 1 and 3 are sintagms; each paint after a move says the new one
    // once, and a paint with the same current sintagm says nothing.
    void announcesCurrent() {
        TTextSintagm v;
        showText(v, {"#Title", "first words", "#", "second words"});
        v.setPosition(1);
        v.Paint();
        // Without a reader Qt drops accessibility events, so no update
        // handler would see them; the program's sink sees what it sends.
        QStringList heard;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.object() == &v && e.type() == QAccessible::DescriptionChanged)
                heard << QAccessible::queryAccessibleInterface(&v)->text(QAccessible::Description);
        });
        for (int p : {1, 3, 3, 1}) {
            v.setPosition(p);
            v.Paint();
        }
        SetAccessibleEventSink({});
        QCOMPARE(heard, (QStringList{"second words", "first words"}));
    }

    void clickReportsLine() {
        TTextSintagm v;
        showText(v, {"#Title", "first", "#", "second"});
        v.Paint();
        QSignalSpy spy(&v, &TTextSintagm::LineClicked);
        QTest::mouseClick(&v, Qt::LeftButton, {}, QPoint(5, 5 * 16 + 8)); // row 5
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), 3);
    }
};

QTEST_MAIN(TestSintagmView)
#include "test_sintagmview.moc"
