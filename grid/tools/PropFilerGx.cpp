#include "grid/tools/PropFilerGx.h"

#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxLayoutStorage.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

struct THook {
    TClass Target;
    TStoragePropertyInterceptorClass Interceptor;
};

std::vector<THook>& Hooks()
{
    static std::vector<THook> hooks;
    return hooks;
}

std::vector<std::unique_ptr<TDatasetFeaturesGx>>& Features()
{
    static std::vector<std::unique_ptr<TDatasetFeaturesGx>> features;
    return features;
}

int MulDivRounded(int value, int numerator, int denominator)
{
    return static_cast<int>(std::llround(static_cast<double>(static_cast<std::int64_t>(value) * numerator) / denominator));
}

void DescribeFormInterceptor(TClassBuilder& c)
{
    c.Object("ActiveControl", &TFormStoragePropertyInterceptor::ActiveControl,
             &TFormStoragePropertyInterceptor::SetActiveControl);
    c.Integer("Height", &TFormStoragePropertyInterceptor::Height, &TFormStoragePropertyInterceptor::SetHeight);
    c.Integer("Left", &TFormStoragePropertyInterceptor::Left, &TFormStoragePropertyInterceptor::SetLeft);
    c.Integer("PixelsPerInch", &TFormStoragePropertyInterceptor::PixelsPerInch,
              &TFormStoragePropertyInterceptor::SetPixelsPerInch);
    c.Integer("Top", &TFormStoragePropertyInterceptor::Top, &TFormStoragePropertyInterceptor::SetTop);
    c.Integer("Width", &TFormStoragePropertyInterceptor::Width, &TFormStoragePropertyInterceptor::SetWidth);
    c.Enum("WindowState", StoredWindowStateGxTypeInfo(), &TFormStoragePropertyInterceptor::WindowState,
           &TFormStoragePropertyInterceptor::SetWindowState);
}

void DescribeColumnInterceptor(TClassBuilder& c)
{
    c.Integer("Width", &TColumnGxPropertyInterceptor::Width, &TColumnGxPropertyInterceptor::SetWidth);
}

void DescribeColumnsInterceptor(TClassBuilder& c)
{
    c.String("ColumnsIndex", &TColumnsGxPropertyInterceptor::ColumnsIndex,
             &TColumnsGxPropertyInterceptor::SetColumnsIndex);
}

// Forms keep their placement, and grid columns their widths and order, through these
// interceptors unless someone registers others.
const bool HooksRegistered = [] {
    RegisterPropertyReadHook(TCustomForm::StaticClass(), TFormStoragePropertyInterceptor::Create);
    RegisterPropertyReadHook(TColumnGx::StaticClass(), TColumnGxPropertyInterceptor::Create);
    RegisterPropertyReadHook(TDBGridColumnsGx::StaticClass(), TColumnsGxPropertyInterceptor::Create);
    return true;
}();

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TStoragePropertyInterceptor, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TFormStoragePropertyInterceptor, TStoragePropertyInterceptor, nullptr, DescribeFormInterceptor)
CLASSLIB_IMPLEMENT_CLASS(TColumnGxPropertyInterceptor, TStoragePropertyInterceptor, nullptr, DescribeColumnInterceptor)
CLASSLIB_IMPLEMENT_CLASS(TColumnsGxPropertyInterceptor, TStoragePropertyInterceptor, nullptr,
                         DescribeColumnsInterceptor)

void RegisterPropertyReadHook(TClass targetClass, TStoragePropertyInterceptorClass interceptorClass)
{
    std::erase_if(Hooks(), [&](const THook& hook) { return hook.Target == targetClass; });
    Hooks().push_back({targetClass, interceptorClass});
}

void UnregisterPropertyReadHook(TClass targetClass, TStoragePropertyInterceptorClass interceptorClass)
{
    std::erase_if(Hooks(), [&](const THook& hook) {
        return hook.Target == targetClass && hook.Interceptor == interceptorClass;
    });
}

TStoragePropertyInterceptorClass PropertyReadHookFor(TClass targetClass)
{
    for (const THook& hook : Hooks())
        if (hook.Target == targetClass)
            return hook.Interceptor;
    return nullptr;
}

// ---- Grid columns -----------------------------------------------------------------------------------------------------

std::unique_ptr<TStoragePropertyInterceptor> TColumnGxPropertyInterceptor::Create(TPersistent* target)
{
    return std::make_unique<TColumnGxPropertyInterceptor>(target);
}

int TColumnGxPropertyInterceptor::Width() const { return static_cast<const TColumnGx&>(*Target()).Width(); }

void TColumnGxPropertyInterceptor::SetWidth(int value) { SetStoredColumnWidth(static_cast<TColumnGx&>(*Target()), value); }

std::unique_ptr<TStoragePropertyInterceptor> TColumnsGxPropertyInterceptor::Create(TPersistent* target)
{
    return std::make_unique<TColumnsGxPropertyInterceptor>(target);
}

std::string TColumnsGxPropertyInterceptor::ColumnsIndex() const
{
    return ::ColumnsIndex(static_cast<const TDBGridColumnsGx&>(*Target()));
}

void TColumnsGxPropertyInterceptor::SetColumnsIndex(const std::string& value)
{
    ::SetColumnsIndex(static_cast<TDBGridColumnsGx&>(*Target()), value);
}

const TTypeInfo& StoredWindowStateGxTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TStoredWindowStateGx", {"wsNormal", "wsMinimized", "wsMaximized"});
    return info;
}

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(TPersistent* target)
    : TStoragePropertyInterceptor(target)
{
    if (TCustomForm* form = Form()) {
        const RECT placement = NormalPlacement();
        m_left = placement.left;
        m_top = placement.top;
        m_width = placement.right - placement.left;
        m_height = placement.bottom - placement.top;
        m_pixelsPerInch = form->PixelsPerInch();
        m_activeControl = form->ActiveControl();
        if (form->HandleAllocated())
            m_windowState = IsZoomed(form->Handle())   ? swsMaximizedGx
                            : IsIconic(form->Handle()) ? swsMinimizedGx
                                                       : swsNormalGx;
    }
}

std::unique_ptr<TStoragePropertyInterceptor> TFormStoragePropertyInterceptor::Create(TPersistent* target)
{
    return std::make_unique<TFormStoragePropertyInterceptor>(target);
}

TCustomForm* TFormStoragePropertyInterceptor::Form() const
{
    return dynamic_cast<TCustomForm*>(Target());
}

RECT TFormStoragePropertyInterceptor::NormalPlacement() const
{
    TCustomForm* form = Form();
    if (!form)
        return {};
    if (form->HandleAllocated() && (IsZoomed(form->Handle()) || IsIconic(form->Handle()))) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(form->Handle(), &placement))
            return placement.rcNormalPosition;
    }
    return {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
}

int TFormStoragePropertyInterceptor::Left() const { return NormalPlacement().left; }
int TFormStoragePropertyInterceptor::Top() const { return NormalPlacement().top; }
int TFormStoragePropertyInterceptor::Width() const { return NormalPlacement().right - NormalPlacement().left; }
int TFormStoragePropertyInterceptor::Height() const { return NormalPlacement().bottom - NormalPlacement().top; }

void TFormStoragePropertyInterceptor::SetLeft(int value)
{
    m_left = value;
    m_positionPresent = true;
}

void TFormStoragePropertyInterceptor::SetTop(int value)
{
    m_top = value;
    m_positionPresent = true;
}

void TFormStoragePropertyInterceptor::Readed()
{
    ReadedAt(Screen ? Screen->PixelsPerInch() : 96);
}

void TFormStoragePropertyInterceptor::ReadedAt(int screenPixelsPerInch)
{
    // A stored resolution of 0 or less says nothing to scale by.
    if (m_pixelsPerInch > 0 && screenPixelsPerInch > 0 && m_pixelsPerInch != screenPixelsPerInch) {
        m_height = MulDivRounded(m_height, screenPixelsPerInch, m_pixelsPerInch);
        m_left = MulDivRounded(m_left, screenPixelsPerInch, m_pixelsPerInch);
        m_top = MulDivRounded(m_top, screenPixelsPerInch, m_pixelsPerInch);
        m_width = MulDivRounded(m_width, screenPixelsPerInch, m_pixelsPerInch);
    }
    TCustomForm* form = Form();
    if (!form)
        return;
    form->SetActiveControl(m_activeControl);
    if (m_windowState != swsNormalGx && form->HandleAllocated()) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        (void)GetWindowPlacement(form->Handle(), &placement);
        placement.rcNormalPosition = {m_left, m_top, m_left + m_width, m_top + m_height};
        placement.showCmd = m_windowState == swsMaximizedGx ? SW_SHOWMAXIMIZED : SW_SHOWMINIMIZED;
        (void)SetWindowPlacement(form->Handle(), &placement);
    } else {
        form->SetBounds(m_left, m_top, m_width, m_height);
    }
    if ((form->Position() == poScreenCenter || form->Position() == poDesktopCenter) &&
        !form->ComponentState().Contains(csDesigning) && m_positionPresent)
        form->SetPosition(poDesigned);
}

void RegisterDatasetFeaturesGx(std::unique_ptr<TDatasetFeaturesGx> features)
{
    for (const auto& registered : Features())
        if (registered->DataSetClass() == features->DataSetClass())
            throw Exception("String list does not allow duplicates");
    Features().push_back(std::move(features));
}

void UnregisterAllDatasetFeaturesGx()
{
    Features().clear();
}

TDatasetFeaturesGx* FeaturesForDataSet(const TObject* dataSet)
{
    if (!dataSet)
        return nullptr;
    for (TClass c = dataSet->ClassType(); c; c = c->ClassParent())
        for (const auto& features : Features())
            if (features->DataSetClass() && SameText(features->DataSetClass()->ClassName(), c->ClassName()))
                return features.get();
    return nullptr;
}
