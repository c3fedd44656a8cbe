#pragma once

class MainWindow;

// Puts the window into its starting state: not connected, "Modem
// Disconnected", port 1 chosen, every input "Disactive" / "N. Open" /
// "Single (recomended)" / "No delay", placeholders in the message boxes,
// the grid numbered and empty, the clock filled. Runs when the window is
// made and again on every disconnect; leaves enabling to the toolbar.
void InitMainWindow(MainWindow& main);
