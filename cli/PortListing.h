#pragma once

// "tavek-cli ports": every serial port the system lists or the ports folder
// links, one entry each on standard output, headed by the "Com N" that reach
// it and its device, then what is known of it (the system's description,
// its stable name, its links, whether this user may open it).
class Console;
// With json, one object: {"command": "ports", "ports": [{"comNumbers": [3],
// "device": ..., "description": ..., "byIdPath": ..., "links": [...],
// "present": true, "accessible": true}, ...]}.
void printPortCatalog(Console& console, bool json = false);
