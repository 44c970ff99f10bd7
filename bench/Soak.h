#pragma once

#include <QObject>
#include <QtGlobal>

#include <random>
#include <vector>

class MainWindow;
class GameDriver;
class MixWatch;
class QAction;
class QWidget;

// Sends random commands of every kind a player has through the real window: keys and held keys as
// the window system delivers them, mouse clicks, a screen reader's button presses and menu
// commands. Commands pile up while announcements play; every few commands the game is let to
// finish what it holds, and memory, open handles and mixer channels are noted.
class Soak : public QObject
{
public:
    Soak(MainWindow &window, GameDriver &driver, MixWatch &mix, quint64 seed);

    /// Sends that many commands, then closes the window; reports its figures as "name=value" lines.
    void Run(int commands);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum Kind { Key, HeldKey, Click, AccessibilityPress, MenuCommand, Kinds };

    void Send(Kind kind);
    void PressRandomKey(int repeats);
    void ClickOn(QWidget &control);
    bool AnswerDialogs();
    void Drain();
    void Sample();

    MainWindow &window_;
    GameDriver &driver_;
    MixWatch &mix_;
    std::mt19937 random_;
    std::vector<QWidget *> doors_;
    QWidget *list_ = nullptr;
    std::vector<QAction *> menuCommands_;
    int sent_[Kinds] = {};
    int dialogsClosed_ = 0;
    int messages_ = 0;
    int drains_ = 0;
    int walks_ = 0;       // begun
    int duringWalks_ = 0; // commands sent while a walk was in progress
    qint64 peakHandles_ = 0;
    int peakChannels_ = 0;
    int peakPlaying_ = 0;
};
