// Which console windows close their console when asked. Portable.
#ifndef DUOSCOPE_PLAYBACK_CONSOLE_HOST_H
#define DUOSCOPE_PLAYBACK_CONSOLE_HOST_H

// Whether the launch script's console window, of class `className`, ends the console's
// processes when it receives WM_CLOSE. The classic console host's window
// ("ConsoleWindowClass") and Wine's ("WineConsoleClass") do. Windows Terminal's
// invisible stand-in for a console that it hosts ("PseudoConsoleWindow") only destroys
// itself, and of any other window nothing is known: those players are ended through
// their job alone.
bool ClosesItsConsole(const char *className);

#endif
