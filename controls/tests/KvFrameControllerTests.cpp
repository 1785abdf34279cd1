#include "KvFormFixture.h"

#include "controls/KvBorder.h"
#include "controls/KvFrameController.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <gtest/gtest.h>

#include <memory>

// A control that takes some of the controller's settings by their names, as an edit does: it
// publishes FrameStyle but not FrameHotStyle.
class TNamedSettingsControl : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TNamedSettingsControl(TComponent* owner) : TGraphicControl(owner) {}
    ~TNamedSettingsControl() override
    {
        if (Controller)
            Controller->DetachControl(this);
    }

    // Attached to, and left when the control goes, as every control does.
    TKvFrameController* Controller = nullptr;

    [[nodiscard]] TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor color) { m_focusColor = color; }
    [[nodiscard]] TFrameStyle FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyle style) { m_frameStyle = style; }
    [[nodiscard]] TSides FrameSides() const { return m_frameSides; }
    void SetFrameSides(TSides sides) { m_frameSides = sides; }

private:
    TColor m_focusColor = clNone;
    TFrameStyle m_frameStyle = fsNone;
    TSides m_frameSides;
};

// The same, saying which settings it accepts.
class TFilteredSettingsControl : public TNamedSettingsControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TFilteredSettingsControl(TComponent* owner) : TNamedSettingsControl(owner) {}

    [[nodiscard]] TKvFrameControllerNotifications Accepted() const { return m_accepted; }
    void SetAccepted(TKvFrameControllerNotifications accepted) { m_accepted = accepted; }

private:
    TKvFrameControllerNotifications m_accepted;
};

// A client of the controller that counts how often it is told, accepting no setting by name.
class TCountingClient : public TFilteredSettingsControl, public IKvFrameControllerClient {
    CLASSLIB_DECLARE_CLASS;
    explicit TCountingClient(TComponent* owner) : TFilteredSettingsControl(owner) {}

    int Changes = 0;
    void FrameControllerChanged() override { ++Changes; }
    bool GetInterface(const TGUID& iid, void*& object) override
    {
        if (iid == IKvFrameControllerClient::IID) {
            object = static_cast<IKvFrameControllerClient*>(this);
            return true;
        }
        return TFilteredSettingsControl::GetInterface(iid, object);
    }
};

namespace {

void DescribeNamedSettings(TClassBuilder& c)
{
    using C = TNamedSettingsControl;
    c.Ordinal("FocusColor", ColorTypeInfo(), &C::FocusColor, &C::SetFocusColor);
    c.Enum("FrameStyle", FrameStyleTypeInfo(), &C::FrameStyle, &C::SetFrameStyle);
    c.Set("FrameSides", SidesTypeInfo(), &C::FrameSides, &C::SetFrameSides);
}

void DescribeFilteredSettings(TClassBuilder& c)
{
    c.Set("FrameControllerNotifications", FrameControllerNotificationsTypeInfo(), &TFilteredSettingsControl::Accepted,
          &TFilteredSettingsControl::SetAccepted);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TNamedSettingsControl, TGraphicControl, ComponentCreator<TNamedSettingsControl>,
                         DescribeNamedSettings)
CLASSLIB_IMPLEMENT_CLASS(TFilteredSettingsControl, TNamedSettingsControl, ComponentCreator<TFilteredSettingsControl>,
                         DescribeFilteredSettings)
CLASSLIB_IMPLEMENT_CLASS(TCountingClient, TFilteredSettingsControl, ComponentCreator<TCountingClient>, nullptr)

namespace {

class FrameControllerTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        ShowForm();
        m_controller = new TKvFrameController(m_form.get());
        m_controller->SetName("Controller");
    }
    template <class T>
    T* Add()
    {
        auto* control = new T(m_form.get());
        control->SetParent(m_form.get());
        return control;
    }
    void Attach(TNamedSettingsControl* control)
    {
        control->Controller = m_controller;
        m_controller->AttachControl(control);
    }

    TKvFrameController* m_controller = nullptr;
};

TEST_F(FrameControllerTest, AControlWithoutTheInterfaceGetsTheSettingsItPublishesByName)
{
    m_controller->SetFrameStyle(fsLowered);
    m_controller->SetFrameSides(TSides{sdTop, sdBottom});
    m_controller->SetFocusColor(clAqua);
    m_controller->SetColor(clCream);
    auto* control = Add<TNamedSettingsControl>();
    Attach(control);
    EXPECT_EQ(control->FrameStyle(), fsLowered);
    EXPECT_EQ(control->FrameSides(), (TSides{sdTop, sdBottom}));
    EXPECT_EQ(control->FocusColor(), clAqua);
    EXPECT_EQ(control->Color(), clCream);

    // One setting at a time afterwards; FrameHotStyle, which it lacks, is passed over.
    m_controller->SetFrameStyle(fsRaised);
    m_controller->SetFrameHotStyle(fsGroove);
    m_controller->SetFrameSides(TSides{sdLeft});
    EXPECT_EQ(control->FrameStyle(), fsRaised);
    EXPECT_EQ(control->FrameSides(), TSides{sdLeft});
}

TEST_F(FrameControllerTest, AControlTakesOnlyTheSettingsItsNotificationsAccept)
{
    auto* none = Add<TFilteredSettingsControl>();
    auto* styleOnly = Add<TFilteredSettingsControl>();
    styleOnly->SetAccepted(TKvFrameControllerNotifications{fcpFrameStyle});
    Attach(none);
    Attach(styleOnly);
    m_controller->SetFrameStyle(fsBump);
    m_controller->SetFocusColor(clRed);
    m_controller->SetFrameSides(TSides{sdRight});
    EXPECT_EQ(none->FrameStyle(), fsNone);
    EXPECT_EQ(styleOnly->FrameStyle(), fsBump);
    EXPECT_EQ(styleOnly->FocusColor(), clNone);
    EXPECT_EQ(styleOnly->FrameSides(), TSides{});
}

TEST_F(FrameControllerTest, AClientIsToldOfEveryChangeWhateverItAcceptsAndNothingIsSetByName)
{
    auto* client = Add<TCountingClient>();
    Attach(client);
    Attach(client);
    EXPECT_EQ(client->Changes, 1) << "attaching twice pushes once";
    m_controller->SetFrameStyle(fsBump);
    EXPECT_EQ(client->Changes, 2);
    EXPECT_EQ(client->FrameStyle(), fsNone);
}

TEST_F(FrameControllerTest, HeldUpdatesPushOnceAtTheOutermostRelease)
{
    auto* client = Add<TCountingClient>();
    Attach(client);
    m_controller->HoldUpdates();
    m_controller->HoldUpdates();
    m_controller->SetFrameStyle(fsBump);
    m_controller->SetColor(clRed);
    m_controller->ReleaseUpdates();
    EXPECT_EQ(client->Changes, 1);
    m_controller->ReleaseUpdates();
    EXPECT_EQ(client->Changes, 2);
    // A release too many does not leave the count below zero.
    m_controller->ReleaseUpdates();
    m_controller->SetFrameStyle(fsRaised);
    EXPECT_EQ(client->Changes, 4);
}

TEST_F(FrameControllerTest, SetterSideEffects)
{
    // Color drags FocusColor along only while they were the same.
    m_controller->SetColor(clRed);
    EXPECT_EQ(m_controller->FocusColor(), clRed);
    m_controller->SetFocusColor(clBlue);
    m_controller->SetColor(clGreen);
    EXPECT_EQ(m_controller->FocusColor(), clBlue);

    m_controller->SetParentColor(true);
    m_controller->SetColor(clYellow);
    EXPECT_FALSE(m_controller->ParentColor());

    // Hot tracking shows the frame on every side.
    m_controller->SetFrameSides(TSides{sdLeft});
    m_controller->SetFrameHotTrack(true);
    EXPECT_TRUE(m_controller->FrameVisible());
    EXPECT_EQ(m_controller->FrameSides(), AllSides);
}

TEST_F(FrameControllerTest, AssignCopiesEverySettingAndPushesOnce)
{
    auto* client = Add<TCountingClient>();
    Attach(client);
    TKvFrameController source(nullptr);
    source.SetColor(clRed);
    source.SetFocusColor(clBlue);
    source.SetFrameSides(TSides{sdBottom});
    source.SetFrameHotTrack(true);
    source.SetFrameSides(TSides{sdTop});
    source.SetFramingPreference(fpCustomFraming);
    source.SetFlatButtons(false);
    m_controller->Assign(&source);
    EXPECT_EQ(client->Changes, 2);
    EXPECT_EQ(m_controller->Color(), clRed);
    EXPECT_EQ(m_controller->FocusColor(), clBlue);
    EXPECT_TRUE(m_controller->FrameHotTrack());
    EXPECT_EQ(m_controller->FrameSides(), TSides{sdTop});
    EXPECT_EQ(m_controller->FramingPreference(), fpCustomFraming);
    EXPECT_FALSE(m_controller->FlatButtons());
}

TEST_F(FrameControllerTest, ControllerAndControlForgetEachOtherWhenEitherGoes)
{
    auto* border = Add<TKvBorder>();
    border->SetFrameController(m_controller);
    EXPECT_TRUE(m_controller->IsAttached(border));
    delete border;
    EXPECT_FALSE(m_controller->IsAttached(border));

    auto* other = Add<TKvBorder>();
    other->SetFrameController(m_controller);
    delete m_controller;
    m_controller = nullptr;
    EXPECT_EQ(other->FrameController(), nullptr);
}

// ---- Form data -------------------------------------------------------------------------------------

constexpr const char* ControllerForm = R"(object Host: TForm
  object Controller: TKvFrameController
    FrameSides = [sdLeft]
    FrameHotTrack = True
    FrameColor = clRed
    FrameStyle = fsRaised
  end
  object Border: TKvBorder
    Left = 10
    Top = 10
    FrameController = Controller
  end
end
)";

TEST_F(FrameControllerTest, LoadingKeepsTheStoredSidesAndPushesToTheControlsAtTheEnd)
{
    delete m_controller;
    m_controller = nullptr;
    Load(ControllerForm);
    auto* controller = dynamic_cast<TKvFrameController*>(m_form->FindComponent("Controller"));
    auto* border = dynamic_cast<TKvBorder*>(m_form->FindComponent("Border"));
    ASSERT_TRUE(controller && border);
    EXPECT_EQ(controller->FrameSides(), TSides{sdLeft});
    EXPECT_TRUE(controller->FrameVisible());
    EXPECT_EQ(border->BorderOuter(), fsRaised);
    EXPECT_EQ(border->BorderSides(), TSides{sdLeft});
    EXPECT_EQ(border->FlatColor(), clRed);
    EXPECT_EQ(border->FlatColorAdjustment(), 0);
}

TEST_F(FrameControllerTest, FormDataRoundTripWritesNoObsoleteOrUnstoredProperty)
{
    delete m_controller;
    m_controller = nullptr;
    Load(R"(object Host: TForm
  object Controller: TKvFrameController
    FrameFlat = True
    FrameFlatStyle = fsWhatever
    Color = clYellow
    ReadOnlyColor = clAqua
    ReadOnlyColorOnFocus = True
    FlatButtonColor = clGray
    FlatButtons = False
    DisabledColor = clSilver
    FrameHotColor = clBlue
    FramingPreference = fpCustomFraming
    RegIniFile = Store
  end
  object Store: TKvRegIniFile
    Path = 'Software\Modem'
    PathType = ptRegistry
    RegKey = hkeyLocalMachine
    RegAccess = [keyRead, keyWrite]
    SpecialFolder = sfProgramData
  end
end
)");
    auto* controller = dynamic_cast<TKvFrameController*>(m_form->FindComponent("Controller"));
    ASSERT_TRUE(controller);
    // FrameFlat: hot tracking with the status frame and the lowered hot frame.
    EXPECT_TRUE(controller->FrameHotTrack());
    EXPECT_EQ(controller->FrameStyle(), fsStatus);
    EXPECT_EQ(controller->FrameHotStyle(), fsLowered);
    ASSERT_NE(controller->RegIniFile(), nullptr);

    const std::string written = WriteComponentText(m_form.get());
    for (const char* name : {"FrameFlat", "FrameFlatStyle", "About"})
        EXPECT_EQ(written.find(name), std::string::npos) << name << " in\n" << written;

    TForm copy(nullptr);
    (void)ReadComponentText(written, &copy);
    auto* read = dynamic_cast<TKvFrameController*>(copy.FindComponent("Controller"));
    auto* store = dynamic_cast<TKvRegIniFile*>(copy.FindComponent("Store"));
    ASSERT_TRUE(read && store);
    // The forms differ (the host is shown); their components must not.
    const auto components = [](const std::string& text) { return text.substr(text.find("  object ")); };
    EXPECT_EQ(components(WriteComponentText(&copy)), components(written));
    EXPECT_EQ(read->RegIniFile(), store);
    EXPECT_EQ(read->Color(), clYellow);
    EXPECT_EQ(read->FrameStyle(), fsStatus);
    EXPECT_EQ(store->RegAccess(), (TKvRegAccess{keyRead, keyWrite}));
    EXPECT_EQ(store->Path(), "Software\\Modem");

    // A controller taking the parent's colour does not store its own.
    read->SetParentColor(true);
    EXPECT_FALSE(GetPropInfo(*read, "Color")->IsStored(*read));
}

TEST_F(FrameControllerTest, FrameFocusStyleSetsTheHotStyleAndDropsNamesOutsideTheControllersStyles)
{
    delete m_controller;
    m_controller = nullptr;
    Load(R"(object Host: TForm
  object Known: TKvFrameController
    FrameFocusStyle = fsRaised
  end
  object Rounded: TKvFrameController
    FrameFocusStyle = fsFlatRounded
  end
end
)");
    EXPECT_EQ(dynamic_cast<TKvFrameController&>(*m_form->FindComponent("Known")).FrameHotStyle(), fsRaised);
    EXPECT_EQ(dynamic_cast<TKvFrameController&>(*m_form->FindComponent("Rounded")).FrameHotStyle(), fsFlatBold);
}

TEST_F(FrameControllerTest, ARemovedStoreIsForgotten)
{
    auto* store = new TKvRegIniFile(nullptr);
    m_controller->SetRegIniFile(store);
    delete store;
    EXPECT_EQ(m_controller->RegIniFile(), nullptr);
}

} // namespace
