#pragma once
// What the vocabulary and question windows share: a fixed-size borderless
// modal window placed around a point, help by F1, counters with captions
// below them, and playback of one entry's range of the lesson recording.
#include <QDialog>
#include <QPointer>

class AudioDevice;
class QAbstractButton;
class QLabel;
class QPlainTextEdit;
class TBtnImgD1Zv;
class TSpeedControl;

// Plays one range of a wave file at a time and keeps its play button in step:
// disabled while playing and for entries without a range.
class EntryPlayback : public QObject {
    Q_OBJECT
public:
    EntryPlayback(QAbstractButton* button, QObject* parent);
    ~EntryPlayback() override;

    // The entry on show changed: any playback stops; the button follows the range.
    void SetEntry(qint32 startPos, qint32 endPos);
    // Opens the sound file and plays the entry's range; throws the device's
    // error when the file cannot be opened (the button then stays enabled).
    void Play(const QString& soundFile);
    void Stop();
    bool Playing() const { return m_playing; }
    AudioDevice* Device() const { return m_device; }

Q_SIGNALS:
    void finished(); // the device reported the end of the play

private:
    void OnNotify(int value);
    void Refresh();

    QPointer<QAbstractButton> m_button;
    AudioDevice* m_device;
    qint32 m_start = 0;
    qint32 m_end = 0;
    bool m_playing = false;
};

class TDrillWindow : public QDialog {
    Q_OBJECT
public:
    // Close codes of the windows; the run operations map them to outcomes.
    enum { Completed = 1, Abandoned = 2, Ignored = 5 };

    TDrillWindow(int width, int height, int helpContext, QWidget* parent = nullptr);

    // Centre of the window on the given screen point.
    void PlaceAround(int cx, int cy);
    void done(int r) override;
    void reject() override; // Esc and the system close: the window's exit command

protected:
    // The exit command of the window (Esc).
    virtual void ExitCommand() { done(Abandoned); }
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    // A number label with its caption below it, in a small box at `pos`.
    QLabel* MakeCounter(const QString& name, const QString& caption, QPoint pos, int width = 70);
    QLabel* MakeLabel(const QString& text, QRect geometry, const QString& name = QString());
    QPlainTextEdit* MakeMemo(const QString& name, QRect geometry);
    // Ctrl+P plays, wherever the focus is, when the button shows and is
    // enabled. Space stays with the focused control.
    void PlayOnKey(QAbstractButton* button);
    // Makes `button` the entry's play button: a click or Ctrl+P plays the
    // range of the entry on show from m_sound.
    void UsePlayButton(QAbstractButton* button);
    // The speed of that playback: the picture in `box` (its caption below it
    // when `captioned`), after the play button in the Tab order, "-" and "+"
    // anywhere in the window; the choice is kept for the next window.
    TSpeedControl* UseSpeedControl(const QRect& box, bool captioned = true);
    // The play button and its speed control show only for entries with sound.
    void ShowPlay(bool on);
    void PlayEntry();

    EntryPlayback* m_playback = nullptr;
    QAbstractButton* m_playButton = nullptr;
    QWidget* m_speedBox = nullptr;
    QString m_sound;
};

// Shows the read-error message of the exercise windows.
void ShowReadError(const QString& text);
extern const char* const ReadErrorDamaged; // "Ошибка чтения файла.\rПоврежден файл "
extern const char* const ReadErrorTextFiles; // "... Повреждены текстовые файлы "
