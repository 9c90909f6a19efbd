#include "text/lessonpanes.h"

#include "controls/chbximgtransd1zv.h"
#include "controls/pictures.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>
#include <QWidget>

namespace {
QWidget* whitePane(QWidget* owner, const char* name) {
    auto* p = new QWidget(owner);
    p->setObjectName(QLatin1String(name));
    QPalette wp = p->palette();
    wp.setColor(QPalette::Window, Qt::white);
    p->setPalette(wp);
    p->setAutoFillBackground(true);
    return p;
}

QLabel* pictureIn(QWidget* pane, const char* name) {
    auto* l = new QLabel(pane);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

LessonPanes MakeLessonPanes(QWidget* owner) {
    LessonPanes p;
    p.Text = whitePane(owner, "PanelText");
    p.Trans = whitePane(owner, "PanelTrans");
    p.ImageStatic = pictureIn(p.Text, "ImageStatic");
    p.ImageChange = pictureIn(p.Trans, "ImageChange");
    return p;
}

QPixmap StaticLessonPicture() {
    QPixmap pm(260, 280);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, 280);
    g.setColorAt(0, QColor(236, 245, 252));
    g.setColorAt(1, QColor(196, 224, 244));
    p.fillRect(pm.rect(), g);
    p.setPen(QPen(QColor(121, 184, 228), 3));
    for (int i = 0; i < 7; ++i) {
        const int y = 60 + i * 26;
        p.drawLine(40, y, i % 3 == 2 ? 150 : 220, y);
    }
    return pm;
}

QVBoxLayout* MakeCheckColumn(QWidget* parent, const QList<LessonCheck>& checks, bool inverted,
                             QList<TChBxImgTransD1Zv*>& boxes) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    for (const LessonCheck& check : checks) {
        auto* c = new TChBxImgTransD1Zv(parent);
        c->setObjectName(check.Name);
        c->setPictures(Pictures::Check());
        if (inverted) c->setInvertedLook(true);
        c->setCaption(check.Caption);
        c->setFixedSize(c->sizeHint());
        column->addWidget(c);
        boxes << c;
    }
    return column;
}
