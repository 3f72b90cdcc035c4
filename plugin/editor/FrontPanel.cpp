#include "FrontPanel.h"

#include "ValueTexts.h"

#include <BinaryResources.h>

namespace
{
// The store calls back at once for each subscription in this order, so CHANNEL is the last value a new panel
// receives.
constexpr int subscribedControls[] { ParamData::engage,  ParamData::hpfIn,   ParamData::hpfFreq,  ParamData::eq1In,
                                     ParamData::eq1Gain, ParamData::eq1Q,    ParamData::eq1Freq,  ParamData::eq2In,
                                     ParamData::eq2Gain, ParamData::eq2Q,    ParamData::eq2Freq,  ParamData::peqIn,
                                     ParamData::hiBoost, ParamData::hiAtten, ParamData::loBoost,  ParamData::loAtten,
                                     ParamData::hiBw,    ParamData::loCps,   ParamData::kcsAtten, ParamData::kcsBoost };
constexpr int subscribedShared[] { ParamData::msMatrix, ParamData::channel };
constexpr int subscribedRunningValues[] { ParamData::isConnected, ParamData::clipL, ParamData::clipR,
                                          ParamData::abSelected };

// Top-left corners in the order of the widgets' z-order, bottom first.
constexpr juce::Point<int> widgetPositions[] { { 153, 115 }, { 297, 22 },  { 297, 115 }, { 530, 22 },   { 530, 115 },
                                               { 674, 22 },  { 674, 115 }, { 937, 22 },  { 937, 115 },  { 1080, 22 },
                                               { 427, 31 },  { 427, 126 }, { 69, 33 },   { 69, 62 },    { 69, 90 },
                                               { 69, 118 },  { 69, 158 },  { 69, 187 },  { 1067, 190 }, { 250, 56 },
                                               { 250, 74 },  { 803, 53 },  { 846, 61 },  { 890, 33 },   { 1062, 117 },
                                               { 1074, 153 } };

const juce::Rectangle<int> resetBounds { 1142, 145, 47, 47 };
constexpr int channelSelectorWidth = 115, displayWidth = 60;
constexpr int clipHoldMilliseconds = 300;

juce::Image plateFor (int panelNo)
{
    return panelNo == 2
               ? juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_18, BinaryData::temp_binary_data_18Size)
               : juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_17, BinaryData::temp_binary_data_17Size);
}

int imageHeight (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size).getHeight();
}
} // namespace

CvFrontPanel::CvFrontPanel (ParamData::SelectedChannel panelChannel, Vu418dParamsManager& manager)
    : paramsManager (manager)
    , channel (panelChannel)
{
}

CvFrontPanel::~CvFrontPanel() = default;

void CvFrontPanel::setPanelNo (int) {}

void CvFrontPanel::paintOverChildren (juce::Graphics& g)
{
    if (dimmed)
        g.fillAll (juce::Colour (0x40000000));
}

int CvFrontPanel::indexOf (int control) const noexcept
{
    return control + (channel == ParamData::channel2 ? ParamData::numChannelControls : 0);
}

// A knob's drag is a gesture around its value changes (a change outside a drag, such as the ctrl-click reset, is
// written alone); a button's click is one gesture with its value, a plain switch reading 1 when on.
void CvFrontPanel::connectControl (juce::Component& widget, int control)
{
    const auto index = indexOf (control);

    if (auto* knob = dynamic_cast<juce::Slider*> (&widget))
    {
        knob->onDragStart = [this, index] { paramsManager.beginParamGesture (this, index); };
        knob->onValueChange = [this, knob, index]
        { paramsManager.setParamValue (this, index, (float) knob->getValue()); };
        knob->onDragEnd = [this, index] { paramsManager.endParamGesture (this, index); };
    }
    else if (auto* button = dynamic_cast<juce::Button*> (&widget))
    {
        auto* valueWidget = dynamic_cast<VuruvoduComponent*> (&widget);
        button->onClick = [this, button, valueWidget, index]
        {
            writeAsGesture (index, valueWidget != nullptr ? valueWidget->getFloatValue()
                                                          : (button->getToggleState() ? 1.0f : 0.0f));
        };
    }
}

void CvFrontPanel::writeAsGesture (int index, float value)
{
    paramsManager.beginParamGesture (this, index);
    paramsManager.setParamValue (this, index, value);
    paramsManager.endParamGesture (this, index);
}

// In dual-mono operation each panel's selector shows its own channel.
float CvFrontPanel::channelSelectorValueFor (float channelValue) const noexcept
{
    if (channelValue < 0.5f)
        return 0.0f;

    return channel == ParamData::channel1 ? 0.5f : 1.0f;
}

// Dual-mono operation selects a channel for the unit's own controls: the clicked panel's while both panels are
// shown, the hidden one's while only one is, so the panels holder brings that one to the front.
void CvFrontPanel::applyChannelRule (float selectorValue)
{
    if (selectorValue < 0.33f)
    {
        paramsManager.setParamValue (this, ParamData::channel, 0.0f);
        return;
    }

    paramsManager.setParamValue (this, ParamData::channel, 1.0f);

    const auto* panelsOpened = paramsManager.nonAutomatableParams[ParamData::panelsOpened];
    const auto opened = panelsOpened != nullptr && (bool) panelsOpened->value;
    const auto ownChannel = channel == ParamData::channel1 ? 0 : 1;
    paramsManager.setNonAutomatableParamValue (this, ParamData::selectedChannel, opened ? ownChannel : 1 - ownChannel);
}

void CvFrontPanel::registerAndInitParams()
{
    for (auto control : subscribedControls)
        paramsManager.addParamListener (this, indexOf (control), juce::CvParamsManager::sendCurrentValue);

    for (auto index : subscribedShared)
        paramsManager.addParamListener (this, index, juce::CvParamsManager::sendCurrentValue);

    for (auto index : subscribedRunningValues)
        paramsManager.addNonAutomatableParamListener (this, index, juce::CvParamsManager::sendCurrentValue);
}

void CvFrontPanel::unregisterParams()
{
    for (auto* record : paramsManager.automatableParams)
        record->listeners.removeAllInstancesOf (static_cast<AutomatableParamListener*> (this));

    for (auto index : subscribedRunningValues)
        if (auto* record = paramsManager.nonAutomatableParams[index])
            record->listeners.removeAllInstancesOf (static_cast<NonAutomatableParamListener*> (this));
}

void CvFrontPanel::resetAllParamsToDefaults()
{
    for (int index = 0; index < ParamData::numAutomatable; ++index)
    {
        paramsManager.beginParamGesture (nullptr, index);
        paramsManager.setParamValue (nullptr, index, Vu418dParamsManager::getDefaultValue (index));
        paramsManager.endParamGesture (nullptr, index);
    }
}

CvFrontPanel_vuVE::CvFrontPanel_vuVE (ParamData::SelectedChannel panelChannel, Vu418dParamsManager& manager)
    : CvFrontPanel (panelChannel, manager)
    , background (plateFor (1))
    , hpfFreq (false)
    , eq1Gain (true)
    , eq2Gain (true)
    , eq1Freq (false)
    , eq2Freq (false)
    , loBoost (false)
    , loAtten (false)
    , hiBoost (false)
    , hiAtten (false)
    , hiBw (false)
    , hpfIn (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , eq1In (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , eq2In (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , peqIn (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , abSelected (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , engage (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true)
    , isConnected (BinaryData::temp_binary_data_23, BinaryData::temp_binary_data_23Size, false)
    , clipL (BinaryData::temp_binary_data_21, BinaryData::temp_binary_data_21Size)
    , clipR (BinaryData::temp_binary_data_21, BinaryData::temp_binary_data_21Size)
    , loCps (loCpsSelector)
    , kcsAtt (kcsAttSelector)
    , kcsBst (kcsBstSelector)
{
    channelSelector.setSize (channelSelectorWidth,
                             imageHeight (BinaryData::temp_binary_data_13, BinaryData::temp_binary_data_13Size));
    display.setSize (displayWidth, imageHeight (BinaryData::temp_binary_data_12, BinaryData::temp_binary_data_12Size));

    // A short click always selects the panel's own channel, a long press links the channels.
    channelSelector.shortClickState = channel == ParamData::channel1 ? 1 : 2;

    for (auto* widget : widgetsInOrder())
        addAndMakeVisible (widget);

    initDisplay();
    setDefaultValues();
    connectWidgets();
    registerAndInitParams();
    setSize (background.getWidth(), background.getHeight());
}

CvFrontPanel_vuVE::~CvFrontPanel_vuVE()
{
    removeDisplayListeners();
    unregisterParams();
}

std::array<juce::Component*, CvFrontPanel_vuVE::numWidgets> CvFrontPanel_vuVE::widgetsInOrder()
{
    return { &hpfFreq,     &eq1Gain, &eq2Gain, &eq1Freq, &eq2Freq, &loBoost, &loAtten,         &hiBoost,    &hiAtten,
             &hiBw,        &eq1Q,    &eq2Q,    &hpfIn,   &eq1In,   &eq2In,   &peqIn,           &abSelected, &engage,
             &isConnected, &clipL,   &clipR,   &loCps,   &kcsAtt,  &kcsBst,  &channelSelector, &display };
}

// Indexed by per-channel control, so index k and k + 20 reach the same widget.
std::array<VuruvoduComponent*, ParamData::numChannelControls> CvFrontPanel_vuVE::controlWidgets()
{
    return { &engage,  &hpfIn, &hpfFreq, &eq1In,   &eq1Gain, &eq1Q,    &eq1Freq, &eq2In, &eq2Gain, &eq2Q,
             &eq2Freq, &peqIn, &loBoost, &loAtten, &loCps,   &hiBoost, &hiAtten, &hiBw,  &kcsBst,  &kcsAtt };
}

std::array<CvEncoder_vuVE*, 10> CvFrontPanel_vuVE::knobs()
{
    return { &hpfFreq, &eq1Gain, &eq2Gain, &eq1Freq, &eq2Freq, &loBoost, &loAtten, &hiBoost, &hiAtten, &hiBw };
}

void CvFrontPanel_vuVE::initDisplay()
{
    for (auto* knob : knobs())
    {
        knob->addMouseListener (&display, false);
        knob->addListener (&display);
        knob->displayType = scaleReading;
    }

    for (auto* selector : { &eq1Q, &eq2Q })
    {
        selector->addMouseListener (&display, false);
        selector->addListener (&display);
        selector->displayType = qReading;
    }

    hpfFreq.displayType = hpfFrequencyReading;
    eq1Gain.displayType = gainReading;
    eq2Gain.displayType = gainReading;
    eq1Freq.displayType = eq1FrequencyReading;
    eq2Freq.displayType = eq2FrequencyReading;
}

void CvFrontPanel_vuVE::removeDisplayListeners()
{
    for (auto* knob : knobs())
    {
        knob->removeMouseListener (&display);
        knob->removeListener (&display);
    }

    for (auto* selector : { &eq1Q, &eq2Q })
    {
        selector->removeMouseListener (&display);
        selector->removeListener (&display);
    }
}

// A widget's ctrl-click value is its parameter's default.
void CvFrontPanel_vuVE::setDefaultValues()
{
    const auto defaultOf = [this] (int control) { return Vu418dParamsManager::getDefaultValue (indexOf (control)); };

    hpfFreq.defaultValue = defaultOf (ParamData::hpfFreq);
    eq1Gain.defaultValue = defaultOf (ParamData::eq1Gain);
    eq2Gain.defaultValue = defaultOf (ParamData::eq2Gain);
    eq1Freq.defaultValue = defaultOf (ParamData::eq1Freq);
    eq2Freq.defaultValue = defaultOf (ParamData::eq2Freq);
    loBoost.defaultValue = defaultOf (ParamData::loBoost);
    loAtten.defaultValue = defaultOf (ParamData::loAtten);
    hiBoost.defaultValue = defaultOf (ParamData::hiBoost);
    hiAtten.defaultValue = defaultOf (ParamData::hiAtten);
    hiBw.defaultValue = defaultOf (ParamData::hiBw);
    eq1Q.defaultValue = defaultOf (ParamData::eq1Q);
    eq2Q.defaultValue = defaultOf (ParamData::eq2Q);
    loCps.defaultValue = defaultOf (ParamData::loCps);
    kcsAtt.defaultValue = defaultOf (ParamData::kcsAtten);
    kcsBst.defaultValue = defaultOf (ParamData::kcsBoost);
}

void CvFrontPanel_vuVE::connectWidgets()
{
    const auto widgets = controlWidgets();

    for (int control = 0; control < ParamData::numChannelControls; ++control)
        connectControl (dynamic_cast<juce::Component&> (*widgets[(size_t) control]), control);

    abSelected.onClick = [this]
    { paramsManager.setNonAutomatableParamValue (this, ParamData::abSelected, abSelected.getToggleState()); };
    channelSelector.onClick = [this] { applyChannelRule (channelSelector.getFloatValue()); };
}

void CvFrontPanel_vuVE::mouseDoubleClick (const juce::MouseEvent& event)
{
    if (resetArea.contains (event.getPosition()))
        resetAllParamsToDefaults();
}

void CvFrontPanel_vuVE::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff303030));

    if (background.isValid())
        g.drawImageAt (background, 0, 0);
}

void CvFrontPanel_vuVE::resized()
{
    static_assert (std::size (widgetPositions) == numWidgets);
    resetArea = resetBounds;
    const auto widgets = widgetsInOrder();

    for (size_t i = 0; i < widgets.size(); ++i)
        widgets[i]->setTopLeftPosition (widgetPositions[i]);
}

void CvFrontPanel_vuVE::setPanelNo (int newPanelNo)
{
    if (newPanelNo == panelNo)
        return;

    panelNo = newPanelNo;
    background = plateFor (panelNo);
    repaint();
}

void CvFrontPanel_vuVE::paramValueChanged (int index, float value)
{
    if (index == ParamData::channel)
    {
        channelSelector.setFloatValue (channelSelectorValueFor (value), juce::dontSendNotification);
    }
    else if (index == ParamData::msMatrix)
    {
        display.setMidSideIndicator (value > 0.5f);
    }
    else if (juce::isPositiveAndBelow (index, (int) ParamData::channel))
    {
        controlWidgets()[(size_t) (index % ParamData::numChannelControls)]->setFloatValue (value,
                                                                                           juce::dontSendNotification);
    }
}

void CvFrontPanel_vuVE::nonAutomatableParamValueChanged (int index, juce::var value)
{
    const auto on = (bool) value;

    switch (index)
    {
        case ParamData::isConnected:
            isConnected.setToggleState (on, juce::dontSendNotification);
            break;
        case ParamData::abSelected:
            abSelected.setToggleState (on, juce::dontSendNotification);
            break;
        // A clip LED only ever lights here; its own timer puts it out after the last report.
        case ParamData::clipL:
            if (on)
                clipL.lightFor (clipHoldMilliseconds);
            break;
        case ParamData::clipR:
            if (on)
                clipR.lightFor (clipHoldMilliseconds);
            break;
        default:
            break;
    }
}

namespace
{
// Bounds in the order of the widgets' z-order, bottom first.
const juce::Rectangle<int> classicWidgetBounds[] {
    { 152, 115, 96, 96 },   { 295, 22, 96, 96 },  { 295, 115, 96, 96 },  { 528, 22, 96, 96 },  { 528, 115, 96, 96 },
    { 673, 22, 96, 96 },    { 936, 22, 96, 96 },  { 1080, 22, 96, 96 },  { 673, 115, 96, 96 }, { 936, 115, 96, 96 },
    { 427, 31, 72, 50 },    { 427, 126, 72, 50 }, { 795, 48, 33, 146 },  { 843, 54, 26, 122 }, { 888, 30, 23, 164 },
    { 1057, 118, 120, 19 }, { 63, 30, 26, 26 },   { 63, 57, 26, 26 },    { 63, 85, 26, 26 },   { 63, 112, 26, 26 },
    { 63, 150, 26, 26 },    { 63, 178, 26, 26 },  { 1062, 186, 21, 21 }, { 246, 51, 21, 21 },  { 246, 69, 21, 21 },
    { 1147, 145, 40, 40 },  { 1068, 148, 67, 40 }
};

// The read-out reads these back from the widgets to choose its formula.
const juce::Identifier encTypeProperty ("encType"), buttonTypeProperty ("buttonType");

enum EncoderType
{
    hpfHertz = 0,
    gainDecibels = 1,
    eq1Hertz = 2,
    eq2Kilohertz = 3,
    zeroToFourteen = 4
};

constexpr int qButtonType = 0;
constexpr int hoverCheckMilliseconds = 100, hoverHoldMilliseconds = 1500;

juce::String knobReading (juce::Slider& knob)
{
    const auto value = (float) knob.getValue();

    switch ((int) knob.getProperties()[encTypeProperty])
    {
        case hpfHertz:
            return juce::String (ValueTexts::hpfFrequencyHertz (value));
        case gainDecibels:
            // Only the steps below the centre pair carry a minus sign, even where they read zero.
            return (ValueTexts::deviceStep (value) <= 126 ? "-" : "") +
                   ValueTexts::oneDecimal (std::abs (ValueTexts::gainTenths (value)));
        case eq1Hertz:
            return juce::String (ValueTexts::eq1FrequencyHertz (value));
        case eq2Kilohertz:
            return ValueTexts::oneDecimal (ValueTexts::eq2FrequencyTenths (value));
        case zeroToFourteen:
        default:
            return ValueTexts::encoderText (value);
    }
}

VuruvoduComponent* asQSelector (juce::Button& button)
{
    if ((int) button.getProperties().getWithDefault (buttonTypeProperty, -1) != qButtonType)
        return nullptr;

    return dynamic_cast<VuruvoduComponent*> (&button);
}
} // namespace

CvFrontPanel_oldGUI::ClipHold::ClipHold (juce::Button& clipLamp)
    : lamp (clipLamp)
{
}

void CvFrontPanel_oldGUI::ClipHold::light()
{
    lamp.setToggleState (true, juce::dontSendNotification);
    holdDeadline.startTimer (*this, clipHoldMilliseconds);
}

void CvFrontPanel_oldGUI::ClipHold::timerCallback()
{
    if (holdDeadline.rearmedBeforeDeadline (*this))
        return;

    stopTimer();
    lamp.setToggleState (false, juce::dontSendNotification);
}

CvFrontPanel_oldGUI::CvFrontPanel_oldGUI (ParamData::SelectedChannel panelChannel, Vu418dParamsManager& manager)
    : CvFrontPanel (panelChannel, manager)
    , background (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_3, BinaryData::temp_binary_data_3Size))
    , hpfFreq (false)
    , eq1Gain (true)
    , eq2Gain (true)
    , eq1Freq (false)
    , eq2Freq (false)
    , loBoost (false)
    , hiBoost (false)
    , hiBw (false)
    , loAtten (false)
    , hiAtten (false)
    , loCps (BinaryData::temp_binary_data_6, BinaryData::temp_binary_data_6Size, 4, { 17, 103 }, { 17, 135 })
    , kcsAtt (BinaryData::temp_binary_data_2, BinaryData::temp_binary_data_2Size, 3, { 13, 111 }, { 0, 0 })
    , kcsBst (BinaryData::temp_binary_data_7, BinaryData::temp_binary_data_7Size, 7, { 12, 121 }, { 12, 154 })
    , hpfIn (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , eq1In (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , eq2In (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , peqIn (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , abSelected (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , engage (BinaryData::temp_binary_data_11, BinaryData::temp_binary_data_11Size)
    , isConnected (BinaryData::temp_binary_data_9, BinaryData::temp_binary_data_9Size)
    , clipL (BinaryData::temp_binary_data_8, BinaryData::temp_binary_data_8Size)
    , clipR (BinaryData::temp_binary_data_8, BinaryData::temp_binary_data_8Size)
{
    setSize (background.getWidth(), background.getHeight());
    kcsAtt.wrapAround = true;
    placeWidgets();
    updateDisplay();
    setDefaultValues();
    connectWidgets();
    registerAndInitParams();
}

CvFrontPanel_oldGUI::~CvFrontPanel_oldGUI()
{
    stopTimer();
    unregisterParams();
}

std::array<juce::Component*, CvFrontPanel_oldGUI::numWidgets> CvFrontPanel_oldGUI::widgetsInOrder()
{
    return {
        &hpfFreq, &eq1Gain, &eq2Gain,    &eq1Freq, &eq2Freq,     &loBoost, &hiBoost,         &hiBw,       &loAtten,
        &hiAtten, &eq1Q,    &eq2Q,       &loCps,   &kcsAtt,      &kcsBst,  &channelSelector, &hpfIn,      &eq1In,
        &eq2In,   &peqIn,   &abSelected, &engage,  &isConnected, &clipL,   &clipR,           &presetSpot, &display
    };
}

// Indexed by per-channel control, so index k and k + 20 reach the same widget.
std::array<juce::Component*, ParamData::numChannelControls> CvFrontPanel_oldGUI::controlWidgets()
{
    return { &engage,  &hpfIn, &hpfFreq, &eq1In,   &eq1Gain, &eq1Q,    &eq1Freq, &eq2In, &eq2Gain, &eq2Q,
             &eq2Freq, &peqIn, &loBoost, &loAtten, &loCps,   &hiBoost, &hiAtten, &hiBw,  &kcsBst,  &kcsAtt };
}

void CvFrontPanel_oldGUI::placeWidgets()
{
    static_assert (std::size (classicWidgetBounds) == numWidgets);
    const auto widgets = widgetsInOrder();

    for (size_t i = 0; i < widgets.size(); ++i)
    {
        addAndMakeVisible (widgets[i]);
        widgets[i]->setBounds (classicWidgetBounds[i]);
    }

    const std::pair<CvEncoder_classicGUI*, EncoderType> knobs[] {
        { &hpfFreq, hpfHertz },       { &eq1Gain, gainDecibels }, { &eq2Gain, gainDecibels },
        { &eq1Freq, eq1Hertz },       { &eq2Freq, eq2Kilohertz }, { &loBoost, zeroToFourteen },
        { &hiBoost, zeroToFourteen }, { &hiBw, zeroToFourteen },  { &loAtten, zeroToFourteen },
        { &hiAtten, zeroToFourteen }
    };

    for (auto [knob, type] : knobs)
    {
        knob->getProperties().set (encTypeProperty, (int) type);
        knob->addExtListener (this);
    }

    for (auto* selector : { &eq1Q, &eq2Q })
    {
        selector->getProperties().set (buttonTypeProperty, qButtonType);
        selector->addExtListener (this);
    }

    for (auto* lamp : { &isConnected, &clipL, &clipR })
        lamp->setClickingTogglesState (false);
}

// A widget's ctrl-click value is its parameter's default.
void CvFrontPanel_oldGUI::setDefaultValues()
{
    const auto defaultOf = [this] (int control) { return Vu418dParamsManager::getDefaultValue (indexOf (control)); };

    hpfFreq.defaultValue = defaultOf (ParamData::hpfFreq);
    eq1Gain.defaultValue = defaultOf (ParamData::eq1Gain);
    eq2Gain.defaultValue = defaultOf (ParamData::eq2Gain);
    eq1Freq.defaultValue = defaultOf (ParamData::eq1Freq);
    eq2Freq.defaultValue = defaultOf (ParamData::eq2Freq);
    loBoost.defaultValue = defaultOf (ParamData::loBoost);
    hiBoost.defaultValue = defaultOf (ParamData::hiBoost);
    hiBw.defaultValue = defaultOf (ParamData::hiBw);
    loAtten.defaultValue = defaultOf (ParamData::loAtten);
    hiAtten.defaultValue = defaultOf (ParamData::hiAtten);
    eq1Q.defaultValue = defaultOf (ParamData::eq1Q);
    eq2Q.defaultValue = defaultOf (ParamData::eq2Q);
    loCps.defaultValue = defaultOf (ParamData::loCps);
    kcsAtt.defaultValue = defaultOf (ParamData::kcsAtten);
    kcsBst.defaultValue = defaultOf (ParamData::kcsBoost);
}

void CvFrontPanel_oldGUI::connectWidgets()
{
    const auto widgets = controlWidgets();

    for (int control = 0; control < ParamData::numChannelControls; ++control)
        connectControl (*widgets[(size_t) control], control);

    abSelected.onClick = [this]
    { paramsManager.setNonAutomatableParamValue (this, ParamData::abSelected, abSelected.getToggleState()); };
    channelSelector.onClick = [this] { applyChannelRule (channelSelector.getFloatValue()); };
    presetSpot.onDoubleClick = [this] { resetAllParamsToDefaults(); };
}

void CvFrontPanel_oldGUI::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
}

void CvFrontPanel_oldGUI::paramValueChanged (int index, float value)
{
    const auto control = index - indexOf (0);

    if (index == ParamData::channel)
    {
        channelSelector.setFloatValue (channelSelectorValueFor (value), juce::dontSendNotification);
    }
    else if (juce::isPositiveAndBelow (control, ParamData::numChannelControls))
    {
        auto* widget = controlWidgets()[(size_t) control];

        if (auto* valueWidget = dynamic_cast<VuruvoduComponent*> (widget))
            valueWidget->setFloatValue (value, juce::dontSendNotification);
        else if (auto* toggle = dynamic_cast<juce::Button*> (widget))
            toggle->setToggleState (value > 0.5f, juce::dontSendNotification);
    }
}

void CvFrontPanel_oldGUI::nonAutomatableParamValueChanged (int index, juce::var value)
{
    const auto on = (bool) value;

    switch (index)
    {
        case ParamData::isConnected:
            isConnected.setToggleState (on, juce::dontSendNotification);
            break;
        case ParamData::abSelected:
            abSelected.setToggleState (on, juce::dontSendNotification);
            break;
        case ParamData::clipL:
            if (on)
                clipLHold.light();
            break;
        case ParamData::clipR:
            if (on)
                clipRHold.light();
            break;
        default:
            break;
    }
}

void CvFrontPanel_oldGUI::timerCallback()
{
    // The unsigned difference stays right across the counter's wrap-around.
    if ((juce::int32) (juce::Time::getMillisecondCounter() - lastExitTime) < hoverHoldMilliseconds)
        return;

    stopTimer();
    hoveredSlider = nullptr;
    hoveredButton = nullptr;
    updateDisplay();
}

void CvFrontPanel_oldGUI::sliderValueChanged (juce::Slider* slider)
{
    draggedSlider = slider;
    updateDisplay();
}

void CvFrontPanel_oldGUI::sliderDragStarted (juce::Slider* slider)
{
    draggedSlider = slider;
    updateDisplay();
}

void CvFrontPanel_oldGUI::sliderDragEnded (juce::Slider*)
{
    draggedSlider = nullptr;
    updateDisplay();
}

void CvFrontPanel_oldGUI::sliderMouseEnter (juce::Slider* slider)
{
    forgetHoverWhileHolding();
    hoveredSlider = slider;
    updateDisplay();
}

void CvFrontPanel_oldGUI::sliderMouseExit (juce::Slider*)
{
    holdAfterExit();
    updateDisplay();
}

void CvFrontPanel_oldGUI::buttonMouseEnter (juce::Button* button)
{
    forgetHoverWhileHolding();
    hoveredButton = button;
    updateDisplay();
}

void CvFrontPanel_oldGUI::buttonMouseExit (juce::Button*)
{
    holdAfterExit();
    updateDisplay();
}

void CvFrontPanel_oldGUI::buttonClicked (juce::Button* button)
{
    clickedButton = button;
    updateDisplay();
    clickedButton = nullptr;
}

// The control left last stops holding the read-out as soon as the mouse reaches another one.
void CvFrontPanel_oldGUI::forgetHoverWhileHolding()
{
    if (! isTimerRunning())
        return;

    hoveredSlider = nullptr;
    hoveredButton = nullptr;
    stopTimer();
}

void CvFrontPanel_oldGUI::holdAfterExit()
{
    lastExitTime = juce::Time::getMillisecondCounter();
    startTimer (hoverCheckMilliseconds);
}

// A control under the mouse or just clicked comes first; the knob changed last without a finished drag (a
// ctrl-click) is only the fallback, so it never hides a hovered Q selector.
void CvFrontPanel_oldGUI::updateDisplay()
{
    auto* button = hoveredButton != nullptr ? hoveredButton : clickedButton;

    if (hoveredSlider != nullptr)
    {
        display.setText (knobReading (*hoveredSlider).toRawUTF8());
    }
    else if (button != nullptr)
    {
        // Any other button leaves the read-out as it is.
        if (auto* selector = asQSelector (*button))
            display.setText (ValueTexts::qText (selector->getFloatValue()).toRawUTF8());
    }
    else if (draggedSlider != nullptr)
    {
        display.setText (knobReading (*draggedSlider).toRawUTF8());
    }
    else
    {
        display.setText ("");
    }
}
