#include <juce_events/juce_events.h>

#include "support/TemporaryHome.h"

#include <gtest/gtest.h>

// The test thread is the message thread, so timers and asynchronous updates run while a test pumps the loop.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    const testsupport::TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
