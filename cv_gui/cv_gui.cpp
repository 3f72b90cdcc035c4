#include "cv_gui.h"

#include "lookandfeel/CvLookAndFeel.cpp"
#include "buttons/MenuBarButtons.cpp"
