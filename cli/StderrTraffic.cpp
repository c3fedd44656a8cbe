#include "StderrTraffic.h"

void StderrTraffic::rowFinished(const TrafficRow& row) {
    print_(trafficRowText(row));
}
