// Being started again by Windows after an update closed her or restarted the
// machine.
#pragma once

// Asks Windows to start her again after an installer or Windows Update
// closed her (the Restart Manager) or restarted the machine, but not after a
// crash or a hang, in the folder she runs in now.
void AskToBeRestartedAfterUpdates();

// A start that Windows made on her request goes back to the folder she ran
// in, which holds her settings file; any other start stays where it is.
void ReturnToTheFolderOfARestart();
