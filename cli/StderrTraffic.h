#pragma once

#include "TrafficRowMaker.h"

#include <functional>

// What crosses the line, on standard error for --verbose: the rows of the
// traffic window and of "tavek --log", in the same words, each printed once
// it is finished (a reply's lines as they end, not its bytes as they come).
class StderrTraffic final : public TrafficRowMaker {
public:
    explicit StderrTraffic(std::function<void(const QString&)> print) : print_(std::move(print)) {}
    // A line still arriving is printed as it is.
    ~StderrTraffic() override { endLine(); }
    StderrTraffic(const StderrTraffic&) = delete;
    StderrTraffic& operator=(const StderrTraffic&) = delete;

protected:
    void rowFinished(const TrafficRow& row) override;

private:
    std::function<void(const QString&)> print_;
};
