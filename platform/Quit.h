#pragma once
// The quit message of the event queue. Closing the window posts it; start-up failures post it
// through reportStartupError and carry on loading, and the main loop ends once it retrieves it.

void postQuitMessage();
// Retrieves the pending quit message: true once per posting burst.
bool takeQuitMessage();

// Shows the message (see MessageBox.h), posts the quit message and remembers that start-up
// failed, so the program ends with a non-zero status instead of pretending all went well.
void reportStartupError(const char* text, const char* caption);
// The start-up error of a data file that cannot be read: "Can't load file <path>", with the reason
// in brackets when one is given. Each file is reported once, however often it is read.
void reportUnreadableFile(const char* path, const char* reason = nullptr);
// The same for a picture or a model: the box reads "Can't load file <path>", as the loading has
// always said it, and the reason, when there is one, follows it on standard error.
void reportUnreadableAsset(const char* path, const char* reason);
bool startupFailed();

void resetQuitState(); // for tests
