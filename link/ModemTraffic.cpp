#include "ModemTraffic.h"

void ModemTrafficFanOut::add(ModemTraffic* watcher) {
    if (watcher && !watchers_.contains(watcher))
        watchers_ << watcher;
}

void ModemTrafficFanOut::remove(ModemTraffic* watcher) {
    watchers_.removeAll(watcher);
}

void ModemTrafficFanOut::portOpened(const QString& device) {
    for (ModemTraffic* watcher : watchers_)
        watcher->portOpened(device);
}

void ModemTrafficFanOut::portClosed(const QString& device) {
    for (ModemTraffic* watcher : watchers_)
        watcher->portClosed(device);
}

void ModemTrafficFanOut::portLost(const QString& device) {
    for (ModemTraffic* watcher : watchers_)
        watcher->portLost(device);
}

void ModemTrafficFanOut::sent(const QString& line) {
    for (ModemTraffic* watcher : watchers_)
        watcher->sent(line);
}

void ModemTrafficFanOut::received(const QString& text) {
    for (ModemTraffic* watcher : watchers_)
        watcher->received(text);
}

void ModemTrafficFanOut::discarded(int characters) {
    for (ModemTraffic* watcher : watchers_)
        watcher->discarded(characters);
}

void ModemTrafficFanOut::lateResultCode(const QString& code) {
    for (ModemTraffic* watcher : watchers_)
        watcher->lateResultCode(code);
}

void ModemTrafficFanOut::collectionEnded(CollectionEnd why) {
    for (ModemTraffic* watcher : watchers_)
        watcher->collectionEnded(why);
}
