// The two MPRIS 2 D-Bus interfaces over an MprisService: org.mpris.MediaPlayer2 (the program)
// and org.mpris.MediaPlayer2.Player (the playback). Qt D-Bus exports their properties, methods
// and introspection; every call is passed on to the service. UI thread only.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace hollowtide::app {

class MprisService;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
  public:
    MprisRootAdaptor(MprisService* service);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const;
    QString DesktopEntry() const;
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

  public slots:
    void Raise(const QDBusMessage& call);
    void Quit(const QDBusMessage& call);

  private:
    MprisService* service_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ Can)
    Q_PROPERTY(bool CanGoPrevious READ Can)
    Q_PROPERTY(bool CanPlay READ Can)
    Q_PROPERTY(bool CanPause READ Can)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ Can)
  public:
    MprisPlayerAdaptor(MprisService* service);

    QString PlaybackStatus() const;
    bool Shuffle() const;
    void SetShuffle(bool on);
    QVariantMap Metadata() const;
    double Rate() const { return 1.0; }
    void SetRate(double) {}  // the pack plays at its one speed
    double Volume() const { return 1.0; }
    void SetVolume(double) {}  // the player has no volume control
    qlonglong Position() const;
    bool Can() const { return true; }
    bool CanSeek() const { return false; }

  public slots:
    void Next(const QDBusMessage& call);
    void Previous(const QDBusMessage& call);
    void PlayPause(const QDBusMessage& call);
    void Play(const QDBusMessage& call);
    void Pause(const QDBusMessage& call);
    void Stop(const QDBusMessage& call);
    // The player cannot seek: both do nothing.
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString&) {}

  signals:
    void Seeked(qlonglong position);

  private:
    MprisService* service_;
};

}  // namespace hollowtide::app
