#pragma once

// Marks a modem exchange as running for as long as it lives. The operations
// pump window events while they wait, so a click can arrive in the middle of
// one; the window ignores modem commands while the mark is set, because two
// exchanges on one port would mix their replies.
class ExchangeGuard {
public:
    explicit ExchangeGuard(bool& running) : running_(running) { running_ = true; }
    ~ExchangeGuard() { running_ = false; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

private:
    bool& running_;
};
