#include "main/eng_dlgabout.h"

#include "controls/captionedbutton.h"
#include "learners/picbuttons.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QWidget* Page(const char* name, const QString& html) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* text = new QLabel(html, page);
    text->setObjectName(QString::fromLatin1(name) + QStringLiteral("Text"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(14, 12, 14, 12);
    l->addWidget(text, 1);
    return page;
}

} // namespace

TOKBottomDlgAbout::TOKBottomDlgAbout(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("OKBottomDlgAbout"));
    setTitle(QStringLiteral("О программе"));

    PageControl1 = new QTabWidget(panel());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(
        Page("TabSheetProgram",
             QStringLiteral(
                 "<h3>Lumora Vantrel</h3>"
                 "<p>Мультимедийный курс понимания американской разговорной речи на слух "
                 "для тех, кто уже владеет английским языком на среднем уровне и выше.</p>"
                 "<p>В основе курса — записи живых интервью с носителями языка. К каждому "
                 "уроку даны текст записи, разбитый на синтагмы, перевод, лексика урока и "
                 "вопросы на понимание.</p>"
                 "<p>Версия 0.1</p>")),
        QStringLiteral("О программе"));
    PageControl1->addTab(
        Page("TabSheetMakers",
             QStringLiteral("<h3>Создатели</h3>"
                            "<p>Курс подготовлен командой серии Lumora: методисты, переводчики, "
                            "звукорежиссеры и программисты.</p>"
                            "<p>Записи интервью сделаны с участием носителей американского "
                            "английского языка.</p>"
                            "<p>Замечания и пожелания мы с благодарностью примем на странице "
                            "серии Lumora (ссылка в правом нижнем углу главного окна).</p>")),
        QStringLiteral("Создатели"));
    PageControl1->addTab(
        Page("TabSheetHowTo",
             QStringLiteral(
                 "<h3>Как работать с программой</h3>"
                 "<ol>"
                 "<li>Создайте свое имя кнопкой «Новое имя» или выберите его кнопкой "
                 "«Выбрать имя». Без имени вы работаете как анонимный пользователь, и ваши "
                 "результаты не сохраняются.</li>"
                 "<li>Выберите в дереве курса упражнение и нажмите «Выполнить» (или дважды "
                 "щелкните по нему).</li>"
                 "<li>После упражнения отметьте его как выполненное — в дереве появится "
                 "галочка. Кнопка «Отчет» показывает все ваши результаты.</li>"
                 "<li>Режим работы (A — самый трудный, D — самый легкий) меняется в меню "
                 "«Пользователь».</li>"
                 "</ol>"
                 "<p>Клавиша F1 открывает справку в любом окне.</p>")),
        QStringLiteral("Как работать"));

    OKBtn = MakeCaptionedButton(this, QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("Закрыть"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);

    AddToButtonStrip(this, {OKBtn});
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(12, 10, 12, 10);
    top->addWidget(PageControl1, 1);
    setFixedSize(540, 420);
}
