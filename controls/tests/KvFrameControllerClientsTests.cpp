#include "KvFormFixture.h"

#include "controls/KvBlinkingControlsList.h"
#include "controls/KvBorder.h"
#include "controls/KvEdit.h"
#include "controls/KvFrameController.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

// What a controller showing frames, set up by Restyled(), must have changed in a client.
using TClientCheck = std::function<void(TControl&)>;

struct TClientCase {
    const char* ClassName;
    TClientCheck Restyled;
};

template <class T>
T& As(TControl& control)
{
    return dynamic_cast<T&>(control);
}

// Every client, with what it takes from a controller whose frames are grooved, on the left and
// top only, red, hot-tracked in blue, over yellow.
const TClientCase ClientCases[] = {
    {"TKvBorder",
     [](TControl& control) {
         auto& border = As<TKvBorder>(control);
         EXPECT_EQ(border.BorderOuter(), fsGroove);
         EXPECT_EQ(border.BorderSides(), (TSides{sdLeft, sdTop}));
         EXPECT_EQ(border.FlatColor(), clRed);
         EXPECT_EQ(border.FlatColorAdjustment(), 0);
         EXPECT_EQ(border.Color(), clYellow);
         EXPECT_EQ(border.BorderHighlight(), LightenLuminance(clYellow, 100));
         EXPECT_EQ(border.BorderShadow(), DarkenLuminance(clYellow, 50));
     }},
    {"TKvLabel",
     [](TControl& control) {
         auto& label = As<TKvLabel>(control);
         EXPECT_EQ(label.BorderOuter(), fsGroove);
         EXPECT_EQ(label.BorderSides(), (TSides{sdLeft, sdTop}));
         EXPECT_EQ(label.FlatColor(), clRed);
         EXPECT_EQ(label.FlatColorAdjustment(), 0);
         EXPECT_EQ(label.Color(), clYellow);
         EXPECT_FALSE(label.ParentColor());
         EXPECT_EQ(label.BorderHighlight(), LightenLuminance(clYellow, 100));
         EXPECT_EQ(label.BorderShadow(), DarkenLuminance(clYellow, 50));
     }},
    {"TKvProgressBar",
     [](TControl& control) {
         auto& bar = As<TKvProgressBar>(control);
         EXPECT_EQ(bar.BorderOuter(), fsGroove);
         EXPECT_EQ(bar.FlatColor(), clRed);
         EXPECT_EQ(bar.FlatColorAdjustment(), 0);
         EXPECT_EQ(bar.BackColor(), clYellow);
     }},
    {"TKvCheckBox",
     [](TControl& control) {
         auto& box = As<TKvCheckBox>(control);
         EXPECT_TRUE(box.HotTrack());
         EXPECT_EQ(box.FillColor(), clYellow);
         EXPECT_EQ(box.FrameColor(), clRed);
         EXPECT_EQ(box.FocusColor(), clAqua);
         EXPECT_EQ(box.DisabledColor(), clSilver);
         EXPECT_EQ(box.ReadOnlyColor(), clCream);
         EXPECT_TRUE(box.ReadOnlyColorOnFocus());
         EXPECT_EQ(box.HotTrackStyle(), htsFrame);
         EXPECT_EQ(box.HotTrackColor(), clBlue);
     }},
};

class FrameControllerClientsTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        ShowForm();
        m_controller = new TKvFrameController(m_form.get());
        m_controller->SetName("Controller");
    }
    // Sets the controller up as the cases expect, frames shown or not.
    void Restyle(bool frameVisible)
    {
        m_controller->HoldUpdates();
        m_controller->SetColor(clYellow);
        m_controller->SetFocusColor(clAqua);
        m_controller->SetDisabledColor(clSilver);
        m_controller->SetReadOnlyColor(clCream);
        m_controller->SetReadOnlyColorOnFocus(true);
        m_controller->SetFrameStyle(fsGroove);
        m_controller->SetFrameColor(clRed);
        m_controller->SetFrameHotColor(clBlue);
        m_controller->SetFrameHotTrack(true);
        m_controller->SetFrameSides(TSides{sdLeft, sdTop});
        m_controller->SetFrameVisible(frameVisible);
        m_controller->ReleaseUpdates();
    }
    TControl* Make(const char* className)
    {
        auto* control = dynamic_cast<TControl*>(CreateComponent(FindClass(className), m_form.get()));
        control->SetName("Client");
        control->SetBounds(10, 10, 120, 30);
        control->SetParent(m_form.get());
        return control;
    }
    // The control's stored properties, its tie to the controller left out.
    static std::string Stored(TControl& control)
    {
        std::istringstream written(WriteComponentText(&control));
        std::string kept;
        for (std::string line; std::getline(written, line);)
            if (line.find("FrameController") == std::string::npos)
                kept += line + "\n";
        return kept;
    }

    TKvFrameController* m_controller = nullptr;
};

TEST_F(FrameControllerClientsTest, EachClientTakesTheSettingsOfAControllerThatShowsFrames)
{
    for (const TClientCase& c : ClientCases) {
        SCOPED_TRACE(c.ClassName);
        TControl* control = Make(c.ClassName);
        Restyle(true);
        SetObjectProp(*control, "FrameController", m_controller);
        EXPECT_TRUE(m_controller->IsAttached(control));
        c.Restyled(*control);
        Pump();
        delete control;
        EXPECT_FALSE(m_controller->IsAttached(control));
    }
}

TEST_F(FrameControllerClientsTest, AClientChangesNothingWhenTheControllerShowsNoFramesOrItAcceptsNoSetting)
{
    Restyle(false);
    for (const TClientCase& c : ClientCases) {
        SCOPED_TRACE(c.ClassName);
        TControl* control = Make(c.ClassName);
        const std::string before = Stored(*control);
        SetObjectProp(*control, "FrameController", m_controller);
        m_controller->SetFrameColor(clGreen);
        EXPECT_EQ(Stored(*control), before);
        delete control;
    }
    m_controller->SetFrameVisible(true);
    for (const TClientCase& c : ClientCases) {
        SCOPED_TRACE(c.ClassName);
        TControl* control = Make(c.ClassName);
        SetSetProp(*control, "FrameControllerNotifications", "[]");
        const std::string before = Stored(*control);
        SetObjectProp(*control, "FrameController", m_controller);
        // A check box told by a controller that shows frames always tracks the mouse.
        const bool hotTracks = std::string(c.ClassName) == "TKvCheckBox";
        const std::string expected =
            hotTracks ? before.substr(0, before.rfind("end")) + "  HotTrack = True\nend\n" : before;
        EXPECT_EQ(Stored(*control), expected);
        delete control;
    }
}

TEST_F(FrameControllerClientsTest, AClientForgetsAControllerThatGoesFirst)
{
    for (const TClientCase& c : ClientCases) {
        SCOPED_TRACE(c.ClassName);
        auto* controller = new TKvFrameController(m_form.get());
        TControl* control = Make(c.ClassName);
        SetObjectProp(*control, "FrameController", controller);
        delete controller;
        EXPECT_EQ(GetObjectProp(*control, "FrameController"), nullptr);
        delete control;
    }
}

TEST_F(FrameControllerClientsTest, TheCheckBoxTakesTheHotColourOnlyForAFrameHotTrack)
{
    auto* box = Add<TKvCheckBox>(Rect(10, 10, 130, 30));
    box->SetHotTrackColor(clPurple);
    Restyle(true);
    m_controller->SetFrameHotTrack(false);
    box->SetFrameController(m_controller);
    EXPECT_EQ(box->HotTrackStyle(), htsInterior);
    EXPECT_EQ(box->HotTrackColor(), clPurple);
    m_controller->SetFrameHotTrack(true);
    EXPECT_EQ(box->HotTrackStyle(), htsFrame);
    EXPECT_EQ(box->HotTrackColor(), clBlue);
}

TEST_F(FrameControllerClientsTest, TheEditTakesTheAcceptedSettingsByName)
{
    auto* edit = Add<TKvEdit>(Rect(10, 10, 130, 31));
    edit->SetFrameControllerNotifications(TKvFrameControllerNotifications{fcpFrameStyle, fcpFrameSides, fcpFocusColor});
    Restyle(true);
    edit->SetFrameController(m_controller);
    EXPECT_EQ(edit->FrameStyle(), fsGroove);
    EXPECT_EQ(edit->FrameSides(), (TSides{sdLeft, sdTop}));
    EXPECT_EQ(edit->FocusColor(), clAqua);
    EXPECT_EQ(edit->FrameColor(), clBtnShadow) << "not accepted";
    EXPECT_EQ(edit->Color(), clWindow) << "not accepted";
    m_controller->SetFrameStyle(fsLowered);
    EXPECT_EQ(edit->FrameStyle(), fsLowered);
    delete edit;
    m_controller->SetFrameStyle(fsBump);
    EXPECT_EQ(m_controller->FrameStyle(), fsBump);
}

// A form whose controls name one controller; the edit leaves colours and its frame colour to it.
const char* const NamedControllerForm = R"(object Host: TForm
  object Controller: TKvFrameController
    Color = clYellow
    FocusColor = clAqua
    FrameColor = clRed
    FrameStyle = fsGroove
    FrameVisible = True
  end
  object Border: TKvBorder
    Left = 8
    Top = 8
    FrameController = Controller
  end
  object Label: TKvLabel
    Left = 8
    Top = 70
    Caption = 'Label'
    FrameController = Controller
    FrameControllerNotifications = [fcpFrameStyle]
  end
  object Bar: TKvProgressBar
    Left = 8
    Top = 100
    FrameController = Controller
  end
  object Box: TKvCheckBox
    Left = 8
    Top = 130
    Caption = 'Box'
    FrameController = Controller
  end
  object Edit: TKvEdit
    Left = 8
    Top = 160
    FrameController = Controller
    FrameControllerNotifications = [fcpColor, fcpFocusColor, fcpFrameStyle]
    FrameColor = clGreen
  end
end
)";

TEST_F(FrameControllerClientsTest, AFormNamingTheControllerLoadsTiedAndWritesOnlyWhatTheControllerDoesNotSupply)
{
    delete m_controller;
    m_controller = nullptr;
    Load(NamedControllerForm);
    auto* controller = dynamic_cast<TKvFrameController*>(m_form->FindComponent("Controller"));
    ASSERT_NE(controller, nullptr);
    for (const char* name : {"Border", "Label", "Bar", "Box", "Edit"}) {
        auto* control = dynamic_cast<TControl*>(m_form->FindComponent(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(GetObjectProp(*control, "FrameController"), controller) << name;
        EXPECT_TRUE(controller->IsAttached(control)) << name;
    }
    auto& label = *dynamic_cast<TKvLabel*>(m_form->FindComponent("Label"));
    EXPECT_EQ(label.BorderOuter(), fsGroove);
    EXPECT_TRUE(label.ParentColor()) << "the label accepts only the frame style";
    EXPECT_EQ(dynamic_cast<TKvProgressBar*>(m_form->FindComponent("Bar"))->BackColor(), clYellow);
    EXPECT_EQ(dynamic_cast<TKvCheckBox*>(m_form->FindComponent("Box"))->FillColor(), clYellow);
    auto& edit = *dynamic_cast<TKvEdit*>(m_form->FindComponent("Edit"));
    EXPECT_EQ(edit.Color(), clYellow);
    EXPECT_EQ(edit.FrameStyle(), fsGroove);
    EXPECT_EQ(edit.FrameColor(), clGreen) << "not accepted, so the edit's own";

    // The form's own properties differ (the fixture's form is shown); its components must not.
    auto components = [](const std::string& text) { return text.substr(text.find("  object Controller")); };
    const std::string written = WriteComponentText(m_form.get());
    TForm copy(nullptr);
    (void)ReadComponentText(written, &copy);
    EXPECT_EQ(components(WriteComponentText(&copy)), components(written));
    const std::string editText = written.substr(written.find("object Edit"));
    EXPECT_NE(editText.find("FrameColor = clGreen"), std::string::npos);
    for (const char* supplied : {"  Color =", "FocusColor =", "FrameStyle ="})
        EXPECT_EQ(editText.find(supplied), std::string::npos) << supplied << " is the controller's";
    std::size_t ties = 0;
    for (std::size_t at = written.find("FrameController = Controller"); at != std::string::npos;
         at = written.find("FrameController = Controller", at + 1))
        ++ties;
    EXPECT_EQ(ties, 5u);
}

TEST_F(FrameControllerClientsTest, TheEditStoresWhatTheControllerDoesNotSupply)
{
    auto* edit = Add<TKvEdit>(Rect(10, 10, 130, 31));
    edit->SetName("Edit");
    edit->SetColor(clLime);
    edit->SetFocusColor(clFuchsia);
    edit->SetFrameVisible(true);
    const struct {
        const char* Property;
        TKvFrameControllerProperty Setting;
    } cases[] = {{"  Color = clLime", fcpColor},
                 {"FocusColor = clFuchsia", fcpFocusColor},
                 {"FrameVisible = True", fcpFrameVisible}};
    auto writtenEdit = [&] { return WriteComponentText(edit); };
    for (const auto& c : cases)
        EXPECT_NE(writtenEdit().find(c.Property), std::string::npos) << c.Property << " without a controller";
    // Accepting nothing as it joins, the edit keeps its own values.
    edit->SetFrameControllerNotifications(TKvFrameControllerNotifications{});
    edit->SetFrameController(m_controller);
    for (const auto& c : cases) {
        edit->SetFrameControllerNotifications(TKvFrameControllerNotifications{c.Setting});
        EXPECT_EQ(writtenEdit().find(c.Property), std::string::npos) << c.Property << " supplied";
        edit->SetFrameControllerNotifications(AllFrameControllerNotifications -
                                              TKvFrameControllerNotifications{c.Setting});
        EXPECT_NE(writtenEdit().find(c.Property), std::string::npos) << c.Property << " not supplied";
    }
}

class LabelBlinkingTest : public KvFormFixture {};

TEST_F(LabelBlinkingTest, LabelsBlinkTogetherOnTheSharedListAndTheLastOneReleasesIt)
{
    auto* first = Add<TKvLabel>(Rect(10, 10, 60, 30));
    auto* second = Add<TKvLabel>(Rect(10, 40, 60, 60));
    auto* still = Add<TKvLabel>(Rect(10, 70, 60, 90));
    for (TKvLabel* label : {first, second, still}) {
        label->Font()->SetColor(clBlue);
        label->SetBlinkColor(clRed);
    }
    first->SetBlinking(true);
    second->SetBlinking(true);
    ShowForm();
    ASSERT_NE(TKvBlinkingControlsList::SharedIfMade(), nullptr);
    EXPECT_EQ(TKvBlinkingControlsList::SharedIfMade()->Count(), 3);
    first->SetBlinkIntervalOn(300);
    EXPECT_EQ(TKvBlinkingControlsList::SharedIfMade()->IntervalOn(), 300u);

    Advance(500); // the first switch: off to on
    const TColor afterFirstTick = first->CurrentColor();
    EXPECT_EQ(second->CurrentColor(), afterFirstTick);
    EXPECT_EQ(still->CurrentColor(), clBlue);
    Advance(TKvBlinkingControlsList::SharedIfMade()->BlinkOn() ? 300 : 500);
    EXPECT_NE(first->CurrentColor(), afterFirstTick);
    EXPECT_EQ(second->CurrentColor(), first->CurrentColor());

    delete first;
    delete second;
    EXPECT_NE(TKvBlinkingControlsList::SharedIfMade(), nullptr) << "a label is left";
    delete still;
    EXPECT_EQ(TKvBlinkingControlsList::SharedIfMade(), nullptr);
}

} // namespace
