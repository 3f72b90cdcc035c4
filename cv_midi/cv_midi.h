/*******************************************************************************
 BEGIN_JUCE_MODULE_DECLARATION

  ID:                 cv_midi
  vendor:             vuruvodu
  version:            3.0.0
  name:               Vuruvodu MIDI
  description:        The units found on the system's MIDI services: the process-wide manager and one device per unit.
  license:            Proprietary
  minimumCppStandard: 17

  dependencies:       juce_events

 END_JUCE_MODULE_DECLARATION
*******************************************************************************/

#pragma once
#define CV_MIDI_H_INCLUDED

#include <juce_events/juce_events.h>

#include <platform/MidiServices.h>

#include "sysex/SysExProtocol.h"
#include "device/MidiDevice.h"
#include "manager/MidiManager.h"
