#include "LinkState.h"

LinkState& linkState() {
    static LinkState state;
    return state;
}
