#include "controls/picturedialog.h"

#include "controls/btnimgd1.h"
#include "controls/pictures.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QVBoxLayout>

TMemoView::TMemoView(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    viewport()->setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));
}

void TMemoView::Clear() {
    clear();
    m_count = 0;
}

void TMemoView::AddLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    line.replace(QLatin1Char('\r'), QChar::LineSeparator);
    line.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    if (m_count > 0) c.insertBlock();
    QTextBlockFormat bf = c.blockFormat();
    bf.setAlignment(m_centred ? Qt::AlignHCenter : Qt::AlignLeft);
    c.setBlockFormat(bf);
    c.insertText(line);
    ++m_count;
}

QStringList TMemoView::Lines() const {
    QStringList out;
    if (m_count == 0) return out;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

TPictureDialog::TPictureDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("LabelCaption"));
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_caption->setContentsMargins(12, 0, 12, 0);
    m_caption->setFixedHeight(30);
    QFont cf = m_caption->font();
    cf.setBold(true);
    cf.setPointSizeF(cf.pointSizeF() * 1.1);
    m_caption->setFont(cf);
    QPalette cp = m_caption->palette();
    cp.setColor(QPalette::WindowText, QColor(255, 255, 255));
    m_caption->setPalette(cp);
    outer->addWidget(m_caption);

    auto* body = new QWidget(this);
    auto* bodyLay = new QVBoxLayout(body);
    bodyLay->setContentsMargins(10, 10, 10, 10);
    m_panel = new QFrame(body);
    m_panel->setObjectName(QStringLiteral("PanelPicture"));
    m_panel->setFrameShape(QFrame::NoFrame);
    QPalette pp = m_panel->palette();
    pp.setColor(QPalette::Window, panelColour());
    pp.setColor(QPalette::WindowText, QColor(16, 44, 84));
    m_panel->setPalette(pp);
    m_panel->setAutoFillBackground(true);
    bodyLay->addWidget(m_panel);
    outer->addWidget(body, 1);

    m_buttons = new QWidget(this);
    m_buttons->setObjectName(QStringLiteral("PanelButtons"));
    m_buttonLayout = new QHBoxLayout(m_buttons);
    m_buttonLayout->setContentsMargins(10, 4, 10, 4);
    m_buttonLayout->addStretch(1);
    outer->addWidget(m_buttons);
    m_buttons->hide();
}

void TPictureDialog::setTitle(const QString& title) {
    setWindowTitle(title);
    m_caption->setText(title);
}

QString TPictureDialog::title() const {
    return m_caption->text();
}

TBtnImgD1Zv* TPictureDialog::addOkButton() {
    auto* ok = new TBtnImgD1Zv(m_buttons);
    ok->setObjectName(QStringLiteral("BitBtnOk"));
    ok->setGlyph(ControlPicture(QStringLiteral("btn-ok")));
    ok->setGlyphDown(ControlPicture(QStringLiteral("btn-ok-down")));
    ok->setCaption(QStringLiteral("OK"));
    QFont f = ok->font();
    f.setBold(true);
    ok->setFont(f);
    ok->setKind(TBtnImgD1Zv::bkOK);
    ok->setAutoDefault(true);
    ok->setFixedSize(ok->sizeHint().expandedTo(QSize(100, 44)));
    m_buttonLayout->addWidget(ok);
    m_buttonLayout->addStretch(1);
    m_buttons->show();
    return ok;
}

int TPictureDialog::exec() {
    centreOnScreen();
    return QDialog::exec();
}

void TPictureDialog::accept() {
    done(mrOk);
}
void TPictureDialog::reject() {
    done(mrCancel);
}

void TPictureDialog::centreOnScreen() {
    QScreen* s = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    QRect r = frameGeometry();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
}

void TPictureDialog::showEvent(QShowEvent* e) {
    centreOnScreen();
    QDialog::showEvent(e);
}

void TPictureDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(121, 184, 228));
    QLinearGradient g(0, 0, 0, m_caption->height());
    g.setColorAt(0, QColor(52, 120, 192));
    g.setColorAt(1, QColor(28, 82, 150));
    p.fillRect(m_caption->geometry(), g);
    // The button band is only a shade darker than the window: the captions
    // below the picture buttons are dark text and must stay readable on it.
    if (m_buttons->isVisible()) {
        const QRect band = m_buttons->geometry();
        p.fillRect(band, QColor(104, 170, 220));
        p.setPen(QPen(QColor(33, 96, 168), 1));
        p.drawLine(band.topLeft(), band.topRight());
    }
    // A thin edge around the panel keeps it apart from the window colour.
    p.setPen(QPen(QColor(33, 96, 168), 1));
    p.drawRect(QRect(m_panel->mapTo(this, QPoint(0, 0)), m_panel->size()).adjusted(-1, -1, 0, 0));
}
