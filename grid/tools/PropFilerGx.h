#pragma once

#include "grid/core/DBGridGxCenterHooks.h"
#include "platform/classlib/core/Objects.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/winapi/user/WinUser.h"

#include <memory>
#include <string>

class TCustomForm;
class TWinControl;

// Property-read interceptors: for a target class, an interceptor whose published properties
// stand in for some of the target's while stored settings are read, and which applies them
// afterwards (Readed).
class TStoragePropertyInterceptor : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TStoragePropertyInterceptor(TPersistent* target) : m_target(target) {}

    [[nodiscard]] TPersistent* Target() const { return m_target; }
    [[nodiscard]] virtual bool NeedIntercept() const { return true; }
    virtual void Readed() {}

private:
    TPersistent* m_target; // not owned
};

// The virtual constructor of an interceptor class.
using TStoragePropertyInterceptorClass = std::unique_ptr<TStoragePropertyInterceptor> (*)(TPersistent* target);

// Replaces every earlier interceptor of the target class.
void RegisterPropertyReadHook(TClass targetClass, TStoragePropertyInterceptorClass interceptorClass);
// Removes the pair when both match.
void UnregisterPropertyReadHook(TClass targetClass, TStoragePropertyInterceptorClass interceptorClass);
// The interceptor class registered for exactly this target class; null when none.
[[nodiscard]] TStoragePropertyInterceptorClass PropertyReadHookFor(TClass targetClass);

enum TStoredWindowStateGx { swsNormalGx, swsMinimizedGx, swsMaximizedGx };
[[nodiscard]] const TTypeInfo& StoredWindowStateGxTypeInfo();

// A form's placement stored so that it survives a change of screen resolution: Left, Top, Width
// and Height read the form's normal placement and are scaled from the stored PixelsPerInch to the
// screen's when applied. A stored position wins over a centred one.
class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor {
    CLASSLIB_DECLARE_CLASS;

    explicit TFormStoragePropertyInterceptor(TPersistent* target);
    [[nodiscard]] static std::unique_ptr<TStoragePropertyInterceptor> Create(TPersistent* target);

    [[nodiscard]] int Left() const;
    void SetLeft(int value);
    [[nodiscard]] int Top() const;
    void SetTop(int value);
    [[nodiscard]] int Width() const;
    void SetWidth(int value) { m_width = value; }
    [[nodiscard]] int Height() const;
    void SetHeight(int value) { m_height = value; }
    [[nodiscard]] int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int value) { m_pixelsPerInch = value; }
    [[nodiscard]] TStoredWindowStateGx WindowState() const { return m_windowState; }
    void SetWindowState(TStoredWindowStateGx value) { m_windowState = value; }
    [[nodiscard]] TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* value) { m_activeControl = value; }

    // Applies the stored values at the screen's pixels per inch.
    void Readed() override;
    void ReadedAt(int screenPixelsPerInch);

private:
    [[nodiscard]] TCustomForm* Form() const;
    [[nodiscard]] RECT NormalPlacement() const;

    TWinControl* m_activeControl = nullptr;
    int m_height = 0;
    int m_left = 0;
    int m_pixelsPerInch = 96;
    bool m_positionPresent = false;
    int m_top = 0;
    int m_width = 0;
    TStoredWindowStateGx m_windowState = swsNormalGx;
};

// A grid column's stored Width while stored settings are read (written only; reading gives the
// column's width): a grid fitting its columns to its width takes it as the column's share of
// that width.
class TColumnGxPropertyInterceptor : public TStoragePropertyInterceptor {
    CLASSLIB_DECLARE_CLASS;

    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    [[nodiscard]] static std::unique_ptr<TStoragePropertyInterceptor> Create(TPersistent* target);

    [[nodiscard]] int Width() const;
    void SetWidth(int value);
};

// A grid's stored column order, ColumnsIndex: the columns' field names in double quotes,
// separated by commas.
class TColumnsGxPropertyInterceptor : public TStoragePropertyInterceptor {
    CLASSLIB_DECLARE_CLASS;

    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    [[nodiscard]] static std::unique_ptr<TStoragePropertyInterceptor> Create(TPersistent* target);

    [[nodiscard]] std::string ColumnsIndex() const;
    void SetColumnsIndex(const std::string& value);
};

// What a data set brings of its own to the grids (sorting, filtering, searching); registered per
// data set class. The grid centre asks it first and takes the library's defaults for what it
// leaves alone.
class TDatasetFeaturesGx : public IGridDataSetFeaturesGx {
public:
    explicit TDatasetFeaturesGx(TClass dataSetClass) : m_dataSetClass(dataSetClass) {}
    virtual ~TDatasetFeaturesGx() = default;
    [[nodiscard]] TClass DataSetClass() const { return m_dataSetClass; }

private:
    TClass m_dataSetClass;
};

// The registry keeps the object. A second object for the same data set class is refused with
// "String list does not allow duplicates".
void RegisterDatasetFeaturesGx(std::unique_ptr<TDatasetFeaturesGx> features);
void UnregisterAllDatasetFeaturesGx();
// The features registered for the nearest class the data set's class inherits from (the first
// registered of equals); null when none.
[[nodiscard]] TDatasetFeaturesGx* FeaturesForDataSet(const TObject* dataSet);
