#pragma once
// Modal message boxes, as the show's start-up reports its errors. Every message is also written
// to standard error, and no box is ever shown where no display can show it (headless runs,
// tests), so a message never blocks a machine without a screen.

enum class MessageIcon { None, Error, Exclamation };

// Shows text under caption with an OK button.
void showMessage(const char* text, const char* caption, MessageIcon icon = MessageIcon::None);

// Asks a Yes/No question; true only when the user answered Yes. Without a display the answer is No.
bool askYesNo(const char* text, const char* caption);

// Interactive boxes are on by default where a display exists; tests and captures turn them off.
void setMessageBoxesInteractive(bool interactive);
