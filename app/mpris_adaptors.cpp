#include "app/mpris_adaptors.h"

#include "app/mpris_service.h"
#include "app/program_setup.h"

namespace hollowtide::app {

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisRootAdaptor::Identity() const {
    return QStringLiteral("Hollowtide");
}

QString MprisRootAdaptor::DesktopEntry() const {
    return QString::fromLatin1(kApplicationId);
}

void MprisRootAdaptor::Raise(const QDBusMessage& call) {
    service_->Raise(&call);
}

void MprisRootAdaptor::Quit(const QDBusMessage& call) {
    service_->Quit(&call);
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const {
    return service_->PlaybackStatus();
}

bool MprisPlayerAdaptor::Shuffle() const {
    return service_->Shuffle();
}

void MprisPlayerAdaptor::SetShuffle(bool on) {
    service_->SetShuffle(on);
}

QVariantMap MprisPlayerAdaptor::Metadata() const {
    return service_->Metadata();
}

qlonglong MprisPlayerAdaptor::Position() const {
    return service_->PositionMicroseconds();
}

void MprisPlayerAdaptor::Next(const QDBusMessage& call) {
    service_->Next(&call);
}

void MprisPlayerAdaptor::Previous(const QDBusMessage& call) {
    service_->Previous(&call);
}

void MprisPlayerAdaptor::PlayPause(const QDBusMessage& call) {
    service_->PlayStop(MprisPlayMethod::PlayPause, &call);
}

void MprisPlayerAdaptor::Play(const QDBusMessage& call) {
    service_->PlayStop(MprisPlayMethod::Play, &call);
}

void MprisPlayerAdaptor::Pause(const QDBusMessage& call) {
    service_->PlayStop(MprisPlayMethod::Pause, &call);
}

void MprisPlayerAdaptor::Stop(const QDBusMessage& call) {
    service_->PlayStop(MprisPlayMethod::Stop, &call);
}

}  // namespace hollowtide::app
