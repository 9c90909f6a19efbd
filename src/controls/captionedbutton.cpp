#include "controls/captionedbutton.h"

#include "controls/accessiblecontrols.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/pictures.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
// Keeps the label's look in step with the button and forwards label clicks.
class CaptionLink : public QObject {
public:
    CaptionLink(TBtnImgTransD1Zv* button, QLabel* label)
        : QObject(button), m_button(button), m_label(label), m_buttonId(button), m_labelId(label) {
        button->installEventFilter(this);
        label->installEventFilter(this);
        m_spoken = label->text();
        sync();
    }
    QLabel* label() const { return m_label; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        // Events still arrive while the button or label is being destroyed,
        // when neither is its own type any more: compare plain identities.
        if (o == m_buttonId && e->type() == QEvent::EnabledChange) sync();
        if (o == m_labelId && e->type() == QEvent::MouseButtonRelease && m_button) {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton &&
                m_label->rect().contains(me->position().toPoint()))
                m_button->click();
            return true;
        }
        // The label is the button's name: a new caption (windows set it
        // directly, "Начало" and "Конец" take turns) is a new name.
        if (o == m_labelId && e->type() == QEvent::Paint && m_label && m_button &&
            m_label->text() != m_spoken) {
            m_spoken = m_label->text();
            NotifyAccessibleEvent(m_button, QAccessible::NameChanged);
        }
        return false;
    }

private:
    void sync() {
        if (!m_label || !m_button) return;
        m_label->setEnabled(m_button->isEnabled());
        m_label->setCursor(m_button->isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    QPointer<TBtnImgTransD1Zv> m_button;
    QPointer<QLabel> m_label;
    const QObject* m_buttonId;
    const QObject* m_labelId;
    QString m_spoken;
};
} // namespace

TBtnImgTransD1Zv* MakeCaptionedButton(QWidget* parent, const QString& name, const QString& iconName,
                                      const QString& caption, QLabel** labelOut,
                                      const QString& labelName) {
    auto* box = new QWidget(parent);
    box->setObjectName(name + QStringLiteral("Box"));
    auto* lay = new QVBoxLayout(box);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->setSpacing(2);
    auto* button = new TBtnImgTransD1Zv(box);
    button->setObjectName(name);
    button->setPictures(Pictures::Button(iconName));
    button->setFixedSize(button->sizeHint());
    auto* label = new QLabel(caption, box);
    label->setObjectName(labelName.isEmpty() ? QStringLiteral("Label") + name : labelName);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, QColor(16, 44, 84));
    pal.setColor(QPalette::Inactive, QPalette::WindowText, QColor(16, 44, 84));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(88, 110, 134));
    label->setPalette(pal);
    lay->addWidget(button, 0, Qt::AlignHCenter);
    lay->addWidget(label, 0, Qt::AlignHCenter);
    LinkCaption(button, label);
    if (labelOut) *labelOut = label;
    return button;
}

TBtnImgD1Zv* MakeCaptionedButton(QWidget* parent, const QString& name, const QString& iconName,
                                 const QString& caption, GlyphAt glyph) {
    auto* b = new TBtnImgD1Zv(parent);
    b->setObjectName(name);
    const ButtonPictures pics = Pictures::Button(iconName);
    b->setGlyph(pics.normal);
    b->setGlyphDown(pics.down);
    b->setCaption(caption);
    if (glyph == GlyphAt::Top) {
        b->setLayout(TBtnImgD1Zv::blGlyphTop);
        b->setAutoDefault(false);
        b->setMinimumWidth(b->sizeHint().width() + 8);
    }
    // Dark caption on a light window; a dark button strip turns it white.
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, QColor(16, 44, 84));
    b->setPalette(pal);
    return b;
}

void LinkCaption(TBtnImgTransD1Zv* button, QLabel* label) {
    if (!button || !label) return;
    auto* link = new CaptionLink(button, label);
    link->setObjectName(QStringLiteral("CaptionLink"));
}

QLabel* CaptionOf(TBtnImgTransD1Zv* button) {
    if (!button) return nullptr;
    for (QObject* o : button->children())
        if (o->objectName() == QLatin1String("CaptionLink"))
            return static_cast<CaptionLink*>(o)->label();
    return nullptr;
}

namespace {
template <typename Button> QShortcut* clickOnKey(Button* button, const QKeySequence& key) {
    if (!button || key.isEmpty()) return nullptr;
    const QString keyText = key.toString(QKeySequence::NativeText);
    const QString tip = button->toolTip();
    button->setToolTip(tip.isEmpty() ? keyText : tip + QStringLiteral(" (") + keyText + ')');
    // Made on the button, the shortcut lives in whatever window the button
    // is in, and Qt offers the key to it only while the button shows and is
    // enabled; the check below covers a change between the match and the call.
    auto* sc = new QShortcut(key, button);
    sc->setContext(Qt::WindowShortcut);
    sc->setAutoRepeat(false);
    QObject::connect(sc, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled()) button->click();
    });
    return sc;
}
} // namespace

QShortcut* ClickOnKey(QAbstractButton* button, const QKeySequence& key) {
    return clickOnKey(button, key);
}

QShortcut* ClickOnKey(TBtnImgTransD1Zv* button, const QKeySequence& key) {
    return clickOnKey(button, key);
}
