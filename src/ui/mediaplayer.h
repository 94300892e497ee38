// The main window's small built-in player: Play and Stop for one wave file,
// no automatic rewind. Before Play acts, the window is asked which file to
// play (MediaPlayerClick); with none, the control says that no device is open.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QAudioOutput;
class QMediaPlayer;
class QToolButton;

namespace tandrel {

class TMediaPlayer : public QWidget {
    Q_OBJECT
public:
    explicit TMediaPlayer(QWidget* parent);

    // Run before the Play button's own action: returns the file to open (code
    // page 1251), "" to open nothing.
    void setPlayClick(std::function<std::string()> click) { playClick_ = std::move(click); }
    void setEnabled(bool enabled);

    // The file opened, "" when none is.
    std::string fileName() const { return fileName_; }
    bool isPlaying() const;
    // The control's last error, "" when none.
    std::string errorText() const { return error_; }

    void Play();
    void Stop();

signals:
    // The control's own messages: playing, stopped, its errors.
    void message(const QString& text);

private:
    void ReportError(const QString& text);

    QToolButton* play_;
    QToolButton* stop_;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    std::function<std::string()> playClick_;
    std::string fileName_;
    std::string error_;
};

}  // namespace tandrel
