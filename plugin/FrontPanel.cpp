#include "FrontPanel.h"

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

juce::Image loadImage (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}

juce::Image plateFor (int panelNo)
{
    return panelNo == 2 ? loadImage (BinaryData::temp_binary_data_18, BinaryData::temp_binary_data_18Size)
                        : loadImage (BinaryData::temp_binary_data_17, BinaryData::temp_binary_data_17Size);
}

int imageHeight (const char* data, int size)
{
    return loadImage (data, size).getHeight();
}

void lightClip (CvClip_vuVE& clip)
{
    clip.startTimer (clipHoldMilliseconds);
    clip.setToggleState (true, juce::dontSendNotification);
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
    {
        auto* widget = widgets[(size_t) control];
        const auto index = indexOf (control);

        if (auto* knob = dynamic_cast<CvEncoder_vuVE*> (widget))
        {
            knob->onDragStart = [this, index] { paramsManager.beginParamGesture (this, index); };
            knob->onValueChange = [this, knob, index]
            { paramsManager.setParamValue (this, index, knob->getFloatValue()); };
            knob->onDragEnd = [this, index] { paramsManager.endParamGesture (this, index); };
        }
        else if (auto* button = dynamic_cast<juce::Button*> (widget))
        {
            // A switch reads 1 when on, a selector its position: either way the widget's value is the parameter's.
            button->onClick = [this, widget, index] { writeAsGesture (index, widget->getFloatValue()); };
        }
    }

    abSelected.onClick = [this]
    { paramsManager.setNonAutomatableParamValue (this, ParamData::abSelected, abSelected.getToggleState()); };
    channelSelector.onClick = [this] { applyChannelRule(); };
}

void CvFrontPanel_vuVE::writeAsGesture (int index, float value)
{
    paramsManager.beginParamGesture (this, index);
    paramsManager.setParamValue (this, index, value);
    paramsManager.endParamGesture (this, index);
}

// Dual-mono operation selects a channel for the unit's own controls: the clicked panel's while both panels are
// shown, the hidden one's while only one is, so the panels holder brings that one to the front.
void CvFrontPanel_vuVE::applyChannelRule()
{
    if (channelSelector.getFloatValue() < 0.33f)
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
        // In dual-mono operation each panel's selector shows its own channel.
        const auto ownState = channel == ParamData::channel1 ? 0.5f : 1.0f;
        channelSelector.setFloatValue (value < 0.5f ? 0.0f : ownState, juce::dontSendNotification);
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
                lightClip (clipL);
            break;
        case ParamData::clipR:
            if (on)
                lightClip (clipR);
            break;
        default:
            break;
    }
}
