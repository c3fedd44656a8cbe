#include "TrafficRowMaker.h"

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

void TrafficRowMaker::endLine() {
    if (!arriving_)
        return;
    // Taken out first: whoever is told may look at lineArriving().
    const TrafficRow row = std::move(*arriving_);
    arriving_.reset();
    lineHasText_ = endsInTextCr_ = false;
    rowFinished(row);
}

void TrafficRowMaker::take(QChar c) {
    if (endsInTextCr_) {
        // That CR was the line break, with this LF or alone.
        const bool lineFeed = c == u'\n';
        if (lineFeed)
            arriving_->text += c;
        endLine();
        if (lineFeed)
            return;
    }
    if (!arriving_)
        arriving_ = TrafficRow{clock_(), TrafficKind::Received, {}};
    arriving_->text += c;
    if (!isLineBreak(c)) {
        lineHasText_ = true;
    } else if (lineHasText_) {
        if (c == u'\n') {
            endLine();
            return;
        }
        endsInTextCr_ = true;
    }
    if (arriving_->text.size() >= MaxLineCharacters)
        endLine();
}

void TrafficRowMaker::received(const QString& text) {
    for (const QChar c : text)
        take(c);
    changed();
}

void TrafficRowMaker::event(TrafficKind kind, const QString& text) {
    endLine();
    rowFinished({clock_(), kind, text});
    changed();
}

void TrafficRowMaker::portOpened(const QString& device) {
    event(TrafficKind::Port, tr("port opened: %1").arg(device));
}

void TrafficRowMaker::portClosed(const QString& device) {
    event(TrafficKind::Port, tr("port closed: %1").arg(device));
}

void TrafficRowMaker::portLost(const QString& device) {
    event(TrafficKind::Port, tr("port lost: %1").arg(device));
}

void TrafficRowMaker::sent(const QString& line) {
    event(TrafficKind::Sent, line);
}

void TrafficRowMaker::discarded(int characters) {
    event(TrafficKind::Discarded, characters == 1
                                      ? tr("1 late character thrown away")
                                      : tr("%1 late characters thrown away").arg(characters));
}

void TrafficRowMaker::lateResultCode(const QString& code) {
    event(
        TrafficKind::Late,
        tr("late result code %1: it belongs to an earlier command and confirms nothing").arg(code));
}

void TrafficRowMaker::collectionEnded(CollectionEnd why) {
    switch (why) {
    case CollectionEnd::ReplyComplete:
        event(TrafficKind::CollectionEnd, tr("end of reply: complete"));
        break;
    case CollectionEnd::TimedOut:
        event(TrafficKind::CollectionEnd, tr("end of reply: time-out"));
        break;
    case CollectionEnd::PortLost:
        event(TrafficKind::CollectionEnd, tr("end of reply: port lost"));
        break;
    }
}
