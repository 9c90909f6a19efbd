#include "base/progresswindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace {
ProgressWindowFactory& factory() {
    static ProgressWindowFactory f;
    return f;
}

class PlainProgressWindow : public ProgressWindow {
public:
    void start(int maximum) override {
        m_w = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::Tool);
        m_w->setObjectName(QStringLiteral("TFormProgress"));
        auto* lay = new QVBoxLayout(m_w.get());
        lay->addWidget(new QLabel(QStringLiteral("Пожалуйста, подождите..."), m_w.get()));
        m_bar = new QProgressBar(m_w.get());
        m_bar->setRange(0, qMax(1, maximum));
        m_bar->setValue(0);
        lay->addWidget(m_bar);
        m_w->resize(300, 70);
        if (QScreen* s = QGuiApplication::primaryScreen())
            m_w->move(s->geometry().center() - m_w->rect().center());
        m_w->show();
    }
    void setPosition(int value) override {
        if (m_bar) m_bar->setValue(value);
    }
    void finish() override { m_w.reset(); }

private:
    std::unique_ptr<QWidget> m_w;
    QProgressBar* m_bar = nullptr;
};
} // namespace

void SetProgressWindowFactory(ProgressWindowFactory f) { factory() = std::move(f); }

std::unique_ptr<ProgressWindow> MakeProgressWindow() {
    if (factory()) return factory()();
    return std::make_unique<PlainProgressWindow>();
}
