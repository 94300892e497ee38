#include "ui/mediaplayer.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QMediaPlayer>
#include <QToolButton>
#include <QUrl>

#include "text/cp1251.h"
#include "ui/filelists.h"

namespace tandrel {

TMediaPlayer::TMediaPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName("MediaPlayer");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    play_ = new QToolButton(this);
    play_->setObjectName("MediaPlayerPlay");
    play_->setText(QString::fromUtf8("\u25B6"));
    play_->setToolTip("Play");
    stop_ = new QToolButton(this);
    stop_->setObjectName("MediaPlayerStop");
    stop_->setText(QString::fromUtf8("\u25A0"));
    stop_->setToolTip("Stop");
    row->addWidget(play_);
    row->addWidget(stop_);
    connect(play_, &QToolButton::clicked, this, &TMediaPlayer::Play);
    connect(stop_, &QToolButton::clicked, this, &TMediaPlayer::Stop);
}

void TMediaPlayer::setEnabled(bool enabled) {
    play_->setEnabled(enabled);
    stop_->setEnabled(enabled);
}

bool TMediaPlayer::isPlaying() const {
    return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}

void TMediaPlayer::ReportError(const QString& text) {
    error_ = FromQt(text);
    emit message(text);
}

void TMediaPlayer::Play() {
    fileName_ = playClick_ ? playClick_() : std::string{};
    if (fileName_.empty()) {
        ReportError("No file to play: no device is open");
        return;
    }
    // The player is made at the first use: a window that never plays opens no audio device.
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
        connect(player_, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& text) { ReportError(text); });
        connect(player_, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
            if (state == QMediaPlayer::PlayingState) emit message("Playing " + ToQt(fileName_));
        });
    }
    error_.clear();
    player_->setSource(QUrl::fromLocalFile(QString::fromStdString(Cp1251ToUtf8(fileName_))));
    player_->play();
}

void TMediaPlayer::Stop() {
    if (player_) player_->stop();
}

}  // namespace tandrel
