#include "PanelsHolder.h"

namespace
{
constexpr int menuBarHeight = 25;
constexpr int cornerButtonSize = 40;
constexpr int slideMilliseconds = 700;
constexpr int classicTheme = 1;
} // namespace

PanelsHolder::PanelsHolder (juce::AudioProcessorEditor& ownerEditor, Vu418dParamsManager& manager)
    : editor (ownerEditor)
    , paramsManager (manager)
{
    addAndMakeVisible (openButton);
    addAndMakeVisible (closeButtonA);
    addAndMakeVisible (closeButtonB);

    animator.addChangeListener (this);

    openButton.onClick = [this] { setPanelsMode (openingPanels); };
    closeButtonA.onClick = [this] { setPanelsMode (closingToPanelB); };
    closeButtonB.onClick = [this] { setPanelsMode (closingToPanelA); };

    // The theme comes last: its call-back builds the panels, and the mode recorded so far then places them.
    paramsManager.addParamListener (this, ParamData::channel, juce::CvParamsManager::sendCurrentValue);

    for (auto index : { ParamData::panelsOpened, ParamData::selectedChannel, ParamData::guiThemeChooser })
        paramsManager.addNonAutomatableParamListener (this, index, juce::CvParamsManager::sendCurrentValue);
}

PanelsHolder::~PanelsHolder()
{
    paramsManager.automatableParams.getUnchecked (ParamData::channel)
        ->listeners.removeAllInstancesOf (static_cast<AutomatableParamListener*> (this));

    for (auto index : { ParamData::panelsOpened, ParamData::selectedChannel, ParamData::guiThemeChooser })
        paramsManager.nonAutomatableParams.getUnchecked (index)->listeners.removeAllInstancesOf (
            static_cast<NonAutomatableParamListener*> (this));
}

void PanelsHolder::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

// Panel B sticks to the lower edge while the holder is lower than both panels, so it slides with the holder.
void PanelsHolder::resized()
{
    if (panelA == nullptr || panelB == nullptr)
        return;

    const auto heightA = panelA->getHeight();
    const auto heightB = panelB->getHeight();

    panelA->setBounds (0, 0, panelA->getWidth(), heightA);
    panelB->setBounds (0, getHeight() < heightA + heightB ? getHeight() - heightB : heightA, panelB->getWidth(),
                       heightB);

    const auto buttonX = panelA->getWidth() - cornerButtonSize;
    openButton.setBounds (buttonX, 0, cornerButtonSize, cornerButtonSize);
    closeButtonA.setBounds (buttonX, 0, cornerButtonSize, cornerButtonSize);
    closeButtonB.setBounds (buttonX, heightA, cornerButtonSize, cornerButtonSize);
}

void PanelsHolder::setPanelsMode (PanelsMode mode)
{
    panelsMode = mode;

    if (panelA == nullptr || panelB == nullptr)
        return;

    const auto dual = channelValue() > 0.5f;
    const auto selected = (int) paramsManager.nonAutomatableParams.getUnchecked (ParamData::selectedChannel)->value;
    const auto heightA = panelA->getHeight();
    const auto heightB = panelB->getHeight();

    // A stable mode set while a slide runs wins; a slide left running would end at a size that contradicts it.
    if (mode == bothPanels || mode == panelAOnly || mode == panelBOnly)
        animator.cancelAnimation (this, false);

    switch (mode)
    {
        case bothPanels:
            showButtons (false, true);
            setDimmed (dual && selected != 0, dual && selected != 1);
            panelB->setPanelNo (2);
            setBounds (getX(), getY(), panelA->getWidth(), heightA + heightB);
            setWindowHeight (heightA + heightB + menuBarHeight);
            break;

        case panelAOnly:
            showButtons (true, false);
            setDimmed (false, false);
            panelB->setPanelNo (1);
            panelB->toBehind (panelA.get());
            setBounds (getX(), getY(), panelA->getWidth(), heightA);
            setWindowHeight (heightA + menuBarHeight);
            break;

        case panelBOnly:
            showButtons (true, false);
            setDimmed (false, false);
            panelB->setPanelNo (1);
            panelA->toBehind (panelB.get());
            setBounds (getX(), getY(), panelB->getWidth(), heightB);
            setWindowHeight (heightB + menuBarHeight);
            break;

        case openingPanels:
            showButtons (false, false);
            setDimmed (dual && selected != 0, dual && selected != 1);
            setWindowHeight (heightA + heightB + menuBarHeight);
            panelB->setPanelNo (2);
            slideTo (heightA + heightB);
            break;

        case closingToPanelA:
        case closingToPanelB:
        {
            const auto keepA = mode == closingToPanelA;
            showButtons (false, false);
            setDimmed (false, false);

            if (keepA)
                panelB->toBehind (panelA.get());
            else
                panelA->toBehind (panelB.get());

            panelB->setPanelNo (1);

            if (dual)
                paramsManager.setNonAutomatableParamValue (this, ParamData::selectedChannel, juce::var (keepA ? 0 : 1));

            // Both panels have the same height, so either closing ends at one panel's height.
            slideTo (heightA);
            break;
        }
    }
}

void PanelsHolder::paramValueChanged (int index, float value)
{
    if (index == ParamData::channel)
        setPanelsMode (modeFor (value));
}

void PanelsHolder::nonAutomatableParamValueChanged (int index, juce::var value)
{
    if (index == ParamData::panelsOpened || index == ParamData::selectedChannel)
        setPanelsMode (modeFor (channelValue()));
    else if (index == ParamData::guiThemeChooser)
        applyTheme ((int) value);
}

// The animator also notifies when a slide starts, and a stable mode set during the slide leaves nothing to end.
void PanelsHolder::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source != &animator || animator.isAnimating())
        return;

    const auto endOfSlide = [this] (PanelsMode stableMode, bool opened)
    {
        setPanelsMode (stableMode);
        paramsManager.setNonAutomatableParamValue (this, ParamData::panelsOpened, juce::var (opened));
    };

    switch (panelsMode)
    {
        case openingPanels:
            endOfSlide (bothPanels, true);
            break;
        case closingToPanelA:
            endOfSlide (panelAOnly, false);
            break;
        case closingToPanelB:
            endOfSlide (panelBOnly, false);
            break;
        case bothPanels:
        case panelAOnly:
        case panelBOnly:
            break;
    }
}

float PanelsHolder::channelValue() const
{
    return paramsManager.automatableParams.getUnchecked (ParamData::channel)->value;
}

PanelsHolder::PanelsMode PanelsHolder::modeFor (float channelSetting) const
{
    if ((bool) paramsManager.nonAutomatableParams.getUnchecked (ParamData::panelsOpened)->value)
        return bothPanels;

    if (channelSetting > 0.5f)
        return (int) paramsManager.nonAutomatableParams.getUnchecked (ParamData::selectedChannel)->value != 0
                   ? panelBOnly
                   : panelAOnly;

    return panelBOnly;
}

void PanelsHolder::applyTheme (int newTheme)
{
    if (newTheme != theme)
    {
        theme = newTheme;
        removeChildComponent (panelA.get());
        removeChildComponent (panelB.get());

        const auto makePanel = [this] (ParamData::SelectedChannel channel) -> std::unique_ptr<CvFrontPanel>
        {
            if (theme == classicTheme)
                return std::make_unique<CvFrontPanel_oldGUI> (channel, paramsManager);

            return std::make_unique<CvFrontPanel_vuVE> (channel, paramsManager);
        };

        panelA = makePanel (ParamData::channel1);
        panelB = makePanel (ParamData::channel2);

        addAndMakeVisible (*panelA);
        addAndMakeVisible (*panelB);
        openButton.toFront (false);
        closeButtonA.toFront (false);
        closeButtonB.toFront (false);

        // Panels as large as the old ones leave the holder's size as it is, so sizing it would not place them.
        resized();
    }

    setPanelsMode (modeFor (channelValue()));
}

void PanelsHolder::showButtons (bool open, bool close)
{
    openButton.setVisible (open);
    closeButtonA.setVisible (close);
    closeButtonB.setVisible (close);
}

void PanelsHolder::setDimmed (bool dimA, bool dimB)
{
    panelA->dimmed = dimA;
    panelA->repaint();
    panelB->dimmed = dimB;
    panelB->repaint();
}

void PanelsHolder::setWindowHeight (int height)
{
    editor.setBounds (editor.getX(), editor.getY(), getWidth(), height);
    editor.processor.updateHostDisplay();
}

void PanelsHolder::slideTo (int height)
{
    animator.animateComponent (this, { 0, menuBarHeight, getWidth(), height }, 1.0f, slideMilliseconds, false, 0.0,
                               0.0);
}
