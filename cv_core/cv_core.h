/*******************************************************************************
 BEGIN_JUCE_MODULE_DECLARATION

  ID:                 cv_core
  vendor:             vuruvodu
  version:            3.0.0
  name:               Vuruvodu core
  description:        Parameter store, host-facing parameters, plug-in instance base, command queue and settings file.
  license:            Proprietary
  minimumCppStandard: 17

  dependencies:       juce_audio_processors juce_data_structures juce_events

 END_JUCE_MODULE_DECLARATION
*******************************************************************************/

#pragma once
#define CV_CORE_H_INCLUDED

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_events/juce_events.h>

#include <optional>

#include "params/CvParamsManager.h"
#include "params/CvDawParameter.h"
#include "params/ThreadBarierNonAutomatableParameter.h"
#include "params/HwParameter.h"
#include "commands/CommandManager.h"
#include "settings/CvSettingsFile.h"
#include "state/CvStateReader.h"
#include "threads/CvMessageThreadHold.h"
#include "plugin/CvPluginInstance.h"
#include "timers/CvTimerDeadline.h"
