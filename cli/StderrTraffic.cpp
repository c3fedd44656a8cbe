#include "StderrTraffic.h"

#include "Output.h"

void StderrTraffic::rowFinished(const TrafficRow& row) {
    printErrorLine(trafficRowText(row));
}
