/*******************************************************************************
 BEGIN_JUCE_MODULE_DECLARATION

  ID:                 cv_gui
  vendor:             vuruvodu
  version:            3.0.0
  name:               Vuruvodu GUI
  description:        Look-and-feels with the embedded fonts, pop-up menu style and menu-bar buttons.
  license:            Proprietary
  minimumCppStandard: 17

  dependencies:       juce_gui_basics

 END_JUCE_MODULE_DECLARATION
*******************************************************************************/

#pragma once
#define CV_GUI_H_INCLUDED

#include <juce_gui_basics/juce_gui_basics.h>

#include "lookandfeel/CvLookAndFeel.h"
#include "buttons/MenuBarButtons.h"
