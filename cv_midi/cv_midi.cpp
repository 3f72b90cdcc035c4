#include "cv_midi.h"

#include "device/MidiDevicePimpl.h"
#include "manager/MidiManagerPimpl.h"

#include "sysex/SysExProtocol.cpp"
#include "device/MidiDevice.cpp"
#include "manager/MidiManager.cpp"
