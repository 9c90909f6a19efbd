#include "main/eng_main.h"
#include "main/coursetree.h"

#include "base/paths.h"
#include "controls/elidedtipdelegate.h"
#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "controls/modalresult.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerplace.h"
#include "learners/learnertable.h"
#include "learners/userrec.h"
#include "main/eng_dlgabout.h"
#include "main/eng_dlgchengreg.h"
#include "main/infopage.h"
#include "main/mainhost.h"
#include "main/mainpictures.h"

#include <cstdio>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QColor kBackground(121, 184, 228);
const QString kMakerUrl = QStringLiteral("https://www.example.com/lumora/");

std::function<void()>& SplashRunner() {
    static std::function<void()> run;
    return run;
}

// Course files may only name files inside the course directory: a stored
// name that is absolute or climbs out with ".." is refused, not followed.
void CheckCourseName(const QString& stored) {
    const QString p = QDir::cleanPath(NativePath(stored));
    if (QDir::isAbsolutePath(p) || p == QStringLiteral("..") || p.startsWith(QStringLiteral("../")))
        throw FileError(ErrInvalidFilename, stored);
}

QString LoadErrorText(const VError& e) {
    if (auto* fe = dynamic_cast<const FileError*>(&e); fe && !fe->fileName().isEmpty())
        return fe->fileName() + QStringLiteral(": ") + e.text();
    return e.text();
}

} // namespace

// The caption of the window drawn large on a gradient above the tool bar.
class TitleStrip : public QWidget {
public:
    explicit TitleStrip(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("PanelTitle"));
        setFixedHeight(30);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(16);
        f.setBold(true);
        setFont(f);
    }
    void setText(const QString& t) {
        m_text = t;
        setAccessibleName(t);
        update();
    }
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(16, 52, 112));
        g.setColorAt(1, kBackground);
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        p.drawText(rect().adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
    }

private:
    QString m_text;
};

void TFormMain::SetSplashRunner(std::function<void()> run) {
    SplashRunner() = std::move(run);
}

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent), m_session(*this, nullptr) {
    setObjectName(QStringLiteral("FormMain"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);
    setAutoFillBackground(true);

    BuildMenu();
    BuildToolBar();
    BuildPanel();

    m_dlgAbout = new TOKBottomDlgAbout(this);
    m_dlgChengeReg = new TOKBottomDlgChengeReg(this);
    m_host = std::make_unique<MainLaunchHost>(this);

    SetHelpContext(this, 10);
    InstallF1Help(this);

    // Client area 775 x 540 below the menu, centred on the screen.
    setMinimumSize(750, 560);
    resize(775, 540 + menuBar()->sizeHint().height());
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    SetTitle(TitleText());
}

TFormMain::~TFormMain() = default;

void TFormMain::SetDialogs(std::unique_ptr<MainDialogs> d) {
    m_dialogs = std::move(d);
    m_session.SetDialogs(m_dialogs.get());
}
void TFormMain::SetLaunchHost(std::unique_ptr<LaunchHost> h) {
    m_host = std::move(h);
}

void TFormMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    bar->setFont(arial);
    auto action = [this](QMenu* m, const char* name, const QString& text,
                         void (TFormMain::*slot)()) {
        QAction* a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* user = bar->addMenu(QStringLiteral("Пользователь"));
    user->setObjectName(QStringLiteral("N1"));
    user->setFont(arial);
    action(user, "NNewUser", QStringLiteral("Новое имя..."), &TFormMain::NNewUserClick);
    action(user, "NSelectUser", QStringLiteral("Выбрать имя..."), &TFormMain::NSelectUserClick);
    action(user, "NChengReg", QStringLiteral("Изменить режим..."), &TFormMain::NChengRegClick);
    user->addSeparator();
    action(user, "N6", QStringLiteral("Преподаватель..."), &TFormMain::N6Click);
    user->addSeparator();
    action(user, "NExitN", QStringLiteral("Выход"), &TFormMain::NExitNClick);

    QMenu* work = bar->addMenu(QStringLiteral("Приступить к работе"));
    work->setObjectName(QStringLiteral("N8"));
    work->setFont(arial);
    action(work, "N9", QStringLiteral("Выполнить..."), &TFormMain::N9Click);
    action(work, "NReport", QStringLiteral("Отчет..."), &TFormMain::NReportClick);

    QMenu* help = bar->addMenu(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("N3"));
    help->setFont(arial);
    action(help, "N2", QStringLiteral("Помощь..."), &TFormMain::N2Click);
    help->addSeparator();
    action(help, "NAbout", QStringLiteral("О программе..."), &TFormMain::NAboutClick);
}

void TFormMain::BuildToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setFixedHeight(71);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setStyleSheet(QStringLiteral(
        "QToolBar#ToolBar1 { border: none; spacing: 2px; padding: 6px 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2f6fb4, stop:1 #4f93d0); }"
        "QToolBar#ToolBar1::separator { width: 2px; margin: 8px 6px;"
        " background: rgba(255,255,255,110); }"
        "QToolButton { color: white; border: 1px solid transparent; border-radius: 4px; }"
        "QToolButton:hover { background: rgba(255,255,255,40); border-color: rgba(255,255,255,90); "
        "}"
        "QToolButton:pressed { background: rgba(0,0,40,60); }"
        "QToolButton:focus { border-color: rgba(255,255,255,160); }"
        "QToolButton:disabled { color: rgba(255,255,255,110); }"));
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    QFont f(QStringLiteral("UkrainianFreeSet"));
    f.setPixelSize(15);
    // Every caption must fit its button whatever font stands in; one size
    // for all keeps the row calm.
    const QStringList captions{QStringLiteral("Новое имя"),     QStringLiteral("Выбрать имя"),
                               QStringLiteral("Преподаватель"), QStringLiteral("Выполнить"),
                               QStringLiteral("Отчет"),         QStringLiteral("Выход")};
    auto widest = [&captions](const QFont& font) {
        int w = 0;
        for (const QString& c : captions)
            w = qMax(w, QFontMetrics(font).horizontalAdvance(c));
        return w;
    };
    while (f.pixelSize() > 10 && widest(f) > 109)
        f.setPixelSize(f.pixelSize() - 1);
    auto button = [this, &f](const char* name, const QString& caption, const QString& picture,
                             void (TFormMain::*slot)()) {
        auto* b = new QToolButton(m_toolBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setIcon(ToolPicture(picture));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(113, 56);
        b->setFont(f);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QToolButton::clicked, this, slot);
        m_toolBar->addWidget(b);
        return b;
    };
    button("ToolButtonNewUser", QStringLiteral("Новое имя"), QStringLiteral("new-user"),
           &TFormMain::ToolButtonNewUserClick);
    button("ToolButton3", QStringLiteral("Выбрать имя"), QStringLiteral("select-user"),
           &TFormMain::ToolButton3Click);
    m_toolBar->addSeparator();
    button("ToolButton1", QStringLiteral("Преподаватель"), QStringLiteral("teacher"),
           &TFormMain::ToolButton1Click);
    m_toolBar->addSeparator();
    m_btnRun = button("ToolButton4", QStringLiteral("Выполнить"), QStringLiteral("run"),
                      &TFormMain::ToolButton4Click);
    m_btnReport = button("ToolButtonReport", QStringLiteral("Отчет"), QStringLiteral("report"),
                         &TFormMain::ToolButtonReportClick);
    m_btnReport->setEnabled(false);
    m_btnRun->setEnabled(false);
    m_toolBar->addSeparator();
    button("ToolButtonExit", QStringLiteral("Выход"), QStringLiteral("exit"),
           &TFormMain::ToolButtonExitClick);
}

void TFormMain::BuildPanel() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelClient"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_title = new TitleStrip(central);
    // At the top also while an exercise hides the panel below it.
    outer->addWidget(m_title, 0, Qt::AlignTop);

    m_panel = new QWidget(central);
    m_panel->setObjectName(QStringLiteral("PanelMain"));
    auto* row = new QHBoxLayout(m_panel);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);

    m_tree = new QTreeWidget(m_panel);
    m_tree->setObjectName(QStringLiteral("TreeView"));
    m_tree->setAccessibleName(QStringLiteral("Содержание курса"));
    m_tree->setItemDelegate(new TElidedTipDelegate(m_tree)); // cut captions shown whole on hover
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setIndentation(20);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setFixedWidth(301);
    m_tree->setExpandsOnDoubleClick(false);
    QFont tf(QStringLiteral("Arial"));
    tf.setPixelSize(15);
    m_tree->setFont(tf);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &TFormMain::TreeViewChange);
    m_tree->installEventFilter(this); // Enter on a node starts it like the double click
    // A double click anywhere in the tree starts the selected node, not only
    // one on an item's text.
    m_tree->viewport()->installEventFilter(this);
    row->addWidget(m_tree);

    auto* info = new QWidget(m_panel);
    info->setObjectName(QStringLiteral("PanelInfo"));
    auto* col = new QVBoxLayout(info);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(2);
    m_rich = new QTextEdit(info);
    m_rich->setObjectName(QStringLiteral("RichEdit1"));
    m_rich->setAccessibleName(QStringLiteral("Описание"));
    m_rich->setReadOnly(true);
    m_rich->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_rich->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont rf(QStringLiteral("Arial"));
    rf.setPixelSize(12);
    m_rich->setFont(rf);
    m_rich->document()->setDefaultFont(rf);
    m_rich->setFocusPolicy(Qt::StrongFocus);
    col->addWidget(m_rich, 1);
    m_image = new QLabel(info);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setAttribute(Qt::WA_TranslucentBackground);
    m_image->setMinimumSize(1, 1);
    m_image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_image->hide();
    col->addWidget(m_image, 1);
    m_link = new QLabel(QStringLiteral("Lumora в Интернете"), info);
    m_link->setObjectName(QStringLiteral("Label1"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setToolTip(kMakerUrl);
    QFont lf(QStringLiteral("Arial"));
    lf.setPixelSize(12);
    lf.setUnderline(true);
    m_link->setFont(lf);
    m_link->setStyleSheet(QStringLiteral("color: #0b2f6b;"));
    m_link->installEventFilter(this);
    col->addWidget(m_link, 0, Qt::AlignRight | Qt::AlignBottom);
    row->addWidget(info, 1);

    outer->addWidget(m_panel, 1);
    setCentralWidget(central);
    setTabOrder(m_tree, m_rich);
}

bool TFormMain::eventFilter(QObject* o, QEvent* e) {
    if (o == m_tree && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TreeViewDblClick();
            return true;
        }
    }
    if (o == m_tree->viewport() && e->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        // After the tree has taken the click (it may select the node under it).
        QMetaObject::invokeMethod(this, &TFormMain::TreeViewDblClick, Qt::QueuedConnection);
        return false;
    }
    if (o == m_link && e->type() == QEvent::MouseButtonRelease) {
        Label1Click();
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

void TFormMain::SetTitle(const QString& t) {
    setWindowTitle(t);
    m_title->setText(t);
}

QString TFormMain::TitleText() const {
    return m_session.TitleText();
}

void TFormMain::RegisterFont() {
    // A missing font is no error of the start-up: the tool bar's captions
    // fall back to another font. Noted for whoever looks, nothing more.
    if (QFontDatabase::addApplicationFont(QStringLiteral("NFREESET.TTF")) < 0)
        std::fprintf(stderr, "vantrel: the font file NFREESET.TTF could not be registered\n");
}

void TFormMain::FormShow() {
    RunStartUp();
}

bool TFormMain::RunStartUp() {
    if (!m_dialogs) SetDialogs(MakeProgramDialogs(this));
    if (SplashRunner()) Guarded([] { SplashRunner()(); });
    m_session.Reset();
    RegisterFont();
    try {
        LoadCourseTables();
    } catch (const VError& e) {
        const QString text = LoadErrorText(e);
        std::fprintf(stderr, "vantrel: %s\n", text.toLocal8Bit().constData());
        ::XMessage(text, QStringLiteral("Ошибка"), 0x10);
        return false;
    }
    m_session.Start();
    m_tree->setFocus();
    // The title page: already on show (and any error reported) when the
    // learner change selected it.
    if (App().CurrentMode != 'D' || SelectedItem() != 1) ShowInfoReported(CourseItem('D', 1));
    m_startedUp = true;
    return true;
}

void TFormMain::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

void TFormMain::FormClose() {
    if (!m_startedUp || m_shutDown) return;
    m_shutDown = true;
    m_session.SaveOnClose();
}

void TFormMain::ChangeUser(int index) {
    m_session.ChangeUser(index);
}

void TFormMain::ShowLearner(char mode, bool learner) {
    m_btnReport->setEnabled(learner);
    SetTitle(TitleText());
    FillTree(mode);
    m_btnRun->setEnabled(false);
}

void TFormMain::ShowProgress() {
    SetNodeImages();
}

void TFormMain::ShowSelected() {
    TreeViewChange();
}

void TFormMain::FillTree(char mode) {
    setUpdatesEnabled(false);
    FillCourseTree(m_tree, mode);
    setUpdatesEnabled(true);
    // The tree took over the locked state while it was filled.
    m_tree->setUpdatesEnabled(true);
}

int TFormMain::NodeImageOf(int i) const {
    return m_session.NodeImageOf(i);
}

void TFormMain::SetNodeImages() {
    const QList<QTreeWidgetItem*> nodes = NodesInDisplayOrder(m_tree);
    const int count = qMin<int>(CourseItemCount(App().CurrentMode), nodes.size());
    const QIcon pictures[3] = {NodePicture(0), NodePicture(1), NodePicture(2)};
    // One change notice per node is most of the cost on a large course;
    // one new layout afterwards does the same.
    {
        const QSignalBlocker quiet(m_tree->model());
        for (int i = 1; i <= count; ++i) {
            const int image = NodeImageOf(i);
            nodes[i - 1]->setIcon(0, pictures[image]);
            nodes[i - 1]->setData(0, Qt::UserRole, image);
        }
    }
    m_tree->doItemsLayout();
    m_tree->viewport()->update();
}

int TFormMain::SelectedItem() const {
    return ItemNumberOf(m_tree, m_tree->currentItem());
}

void TFormMain::TreeViewChange() {
    if (!App().TreeReady) return;
    const int i = SelectedItem();
    if (i < 1) {
        m_btnRun->setEnabled(false);
        return;
    }
    const TCourseItem& it = CourseItem(App().CurrentMode, i);
    m_btnRun->setEnabled(it.ExerciseKind != 0);
    ShowInfoReported(it);
}

void TFormMain::ShowInfoReported(const TCourseItem& it) {
    // The message names the page that could not be shown.
    Guarded([&] {
        try {
            ShowInfoOf(it);
        } catch (const VError& e) {
            throw VError(LoadErrorText(e));
        }
    });
}

void TFormMain::ShowInfoOf(const TCourseItem& it) {
    const QString name = App().DataRoot + it.InfoFile;
    CheckCourseName(name);
    if (it.InfoKind == 0) {
        m_image->hide();
        m_rich->show();
        m_rich->clear();
        LoadInfoPageFile(m_rich->document(), name);
        m_rich->verticalScrollBar()->setValue(0);
    } else if (it.InfoKind == 1) {
        m_rich->hide();
        m_image->show();
        m_image->clear();
        QPixmap pm = LoadInfoPictureFile(name);
        const QSize room = m_image->size();
        if (room.width() > 10 && room.height() > 10 &&
            (pm.width() > room.width() || pm.height() > room.height()))
            pm = pm.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_image->setPixmap(pm);
    }
}

void TFormMain::TreeViewDblClick() {
    ToolButton4Click();
}

void TFormMain::ToolButton4Click() {
    Guarded([&] {
        const int i = SelectedItem();
        Launcher(*m_host).Launch(LaunchContext::Current(), i);
    });
}

void TFormMain::N9Click() {
    ToolButton4Click();
}

void TFormMain::HideMainPanel() {
    m_panel->hide();
    m_toolBar->hide();
}

void TFormMain::ShowMainPanelAndRedraw() {
    m_toolBar->show();
    m_panel->show();
    SetNodeImages();
    m_tree->update();
    m_tree->setFocus();
}

void TFormMain::NNewUserClick() {
    Guarded([&] { m_session.NewUser(); });
}

void TFormMain::ToolButtonNewUserClick() {
    NNewUserClick();
}

void TFormMain::NSelectUserClick() {
    Guarded([&] { m_session.LogIn(); });
}

void TFormMain::ToolButton3Click() {
    NSelectUserClick();
}

void TFormMain::NChengRegClick() {
    Guarded([&] {
        if (m_dlgChengeReg->exec() != QDialog::Accepted) return;
        m_session.ChangeMode(m_dlgChengeReg->SelectedMode());
    });
}

void TFormMain::N6Click() {
    m_session.TeacherCheck();
}

void TFormMain::ToolButton1Click() {
    N6Click();
}

void TFormMain::NReportClick() {
    m_session.Report();
}

void TFormMain::ToolButtonReportClick() {
    NReportClick();
}

void TFormMain::NExitNClick() {
    close();
}
void TFormMain::ToolButtonExitClick() {
    close();
}

void TFormMain::N2Click() {
    ShowHelpTopic(10);
}

void TFormMain::NAboutClick() {
    m_dlgAbout->exec();
}

void TFormMain::Label1Click() {
    QDesktopServices::openUrl(QUrl(kMakerUrl));
}
