#include "grid/core/DBSumLst.h"

#include "grid/core/DataGridGx.h"
#include "grid/core/DataSourceDataSetOfProperty.h"
#include "grid/core/DBGridGxRoutines.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/SysMath.h"
#include "platform/rtl/Strings.h"

namespace {

constexpr std::int64_t Unit = 10000;

void DescribeSum(TClassBuilder& c)
{
    c.String("FieldName", &TDBSum::FieldName, &TDBSum::SetFieldName);
    c.Enum("GroupOperation", GroupOperationTypeInfo(), &TDBSum::GroupOperation, &TDBSum::SetGroupOperation)
        .Default(goSum);
}

[[nodiscard]] std::int64_t FixedPoint(double value)
{
    return Round(value * static_cast<double>(Unit));
}

[[nodiscard]] std::int64_t Average(std::int64_t rawSum, int count)
{
    return count == 0 ? 0 : Round(static_cast<double>(rawSum) / count);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TDBSum, TCollectionItem, CollectionItemCreator<TDBSum>, DescribeSum)
CLASSLIB_IMPLEMENT_CLASS(TDBSumCollection, TCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBSumListProducer, TPersistent, nullptr, nullptr)

const TTypeInfo& GroupOperationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TGroupOperation", {"goSum", "goAvg", "goCount"});
    return info;
}

// ---- Items

void TDBSum::SetFieldName(const std::string& name)
{
    m_fieldName = name;
    Changed(false);
}

void TDBSum::SetGroupOperation(TGroupOperation operation)
{
    m_groupOperation = operation;
    Changed(false);
}

void TDBSum::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TDBSum*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    m_fieldName = other->m_fieldName;
    m_groupOperation = other->m_groupOperation;
    Changed(false);
}

TDBSumCollection::TDBSumCollection(TDBSumListProducer* producer)
    : TCollection(TDBSum::StaticClass()), m_producer(producer)
{
}

TPersistent* TDBSumCollection::GetOwner() const
{
    return m_producer;
}

void TDBSumCollection::Update(TCollectionItem*)
{
    m_producer->RecalculateTotals();
}

// ---- Life and activation

TDBSumListProducer::TDBSumListProducer(IDataGridGx* owner)
    : m_owner(owner), m_sums(std::make_unique<TDBSumCollection>(this))
{
}

TDBSumListProducer::~TDBSumListProducer()
{
    Deactivate(false);
}

bool TDBSumListProducer::InactiveContext() const
{
    return m_owner && (m_owner->GridLoading() || m_owner->GridComponent()->IsDestroying());
}

void TDBSumListProducer::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TDBSumListProducer*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetActive(other->Active());
    SetDataSet(other->DataSet());
    SetExternalRecalc(other->ExternalRecalc());
    m_sums->Assign(other->SumCollection());
    SetSumListChanged(other->SumListChanged());
    SetOnAfterRecalcAll(other->OnAfterRecalcAll());
    SetOnRecalcAll(other->OnRecalcAll());
}

void TDBSumListProducer::Activate(bool recalc)
{
    m_active = true;
    if (InactiveContext())
        return;
    HookDataSetEvents();
    if (recalc)
        RecalculateTotals();
}

void TDBSumListProducer::Deactivate(bool clear)
{
    m_active = false;
    if (InactiveContext())
        return;
    RestoreDataSetEvents();
    if (clear)
        ClearTotals();
}

void TDBSumListProducer::SetActive(bool value)
{
    if (value)
        Activate(true);
    else
        Deactivate(true);
}

void TDBSumListProducer::SetDataSet(TDataSet* dataSet)
{
    if (InactiveContext()) {
        m_dataSet = dataSet;
        return;
    }
    const bool wasActive = m_active;
    Deactivate(true);
    m_dataSet = dataSet;
    if (wasActive)
        Activate(true);
}

void TDBSumListProducer::Loaded()
{
    if (m_dataSet && m_active)
        Activate(true);
}

void TDBSumListProducer::SetExternalRecalc(bool value)
{
    m_externalRecalc = value;
    RecalculateTotals();
}

TDBSum* TDBSumListProducer::GetSumByOpAndFName(TGroupOperation operation, std::string_view fieldName) const
{
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum* sum = m_sums->SumAt(i);
        if (sum->GroupOperation() == operation && SameText(sum->FieldName(), fieldName))
            return sum;
    }
    return nullptr;
}

// ---- Record numbers: the data sets of this class library always number their records.

bool TDBSumListProducer::IsSequenced() const
{
    return m_dataSet && m_dataSet->IsSequenced();
}

int TDBSumListProducer::RecordCount() const
{
    return m_dataSet ? m_dataSet->RecordCount() : 0;
}

int TDBSumListProducer::ReadRecNo() const
{
    return m_dataSet ? m_dataSet->RecNo() : -1;
}

void TDBSumListProducer::WriteRecNo(int recNo)
{
    if (m_dataSet)
        m_dataSet->SetRecNo(recNo);
}

// ---- Hooking

void TDBSumListProducer::Subscribe(TDataSet& dataSet, TDataSetNotifyKind kind,
                                   void (TDBSumListProducer::*handler)(TDataSet*))
{
    m_subscriptions.push_back(dataSet.Subscribe(kind, TDataSetNotifyEvent(this, handler)));
}

void TDBSumListProducer::HookDataSetEvents()
{
    if (!m_dataSet || EventsOverloaded())
        return;
    Subscribe(*m_dataSet, dnAfterEdit, &TDBSumListProducer::DataSetAfterEdit);
    Subscribe(*m_dataSet, dnAfterInsert, &TDBSumListProducer::DataSetAfterInsert);
    Subscribe(*m_dataSet, dnAfterOpen, &TDBSumListProducer::DataSetAfterOpen);
    Subscribe(*m_dataSet, dnAfterPost, &TDBSumListProducer::DataSetAfterPost);
    Subscribe(*m_dataSet, dnAfterScroll, &TDBSumListProducer::DataSetAfterScroll);
    Subscribe(*m_dataSet, dnBeforeDelete, &TDBSumListProducer::DataSetBeforeDelete);
    Subscribe(*m_dataSet, dnAfterDelete, &TDBSumListProducer::DataSetAfterDelete);
    Subscribe(*m_dataSet, dnAfterClose, &TDBSumListProducer::DataSetAfterClose);
    m_masterDataSet = DataSourceDataSetOfProperty(*m_dataSet, "MasterSource");
    if (m_masterDataSet)
        Subscribe(*m_masterDataSet, dnAfterScroll, &TDBSumListProducer::MasterAfterScroll);
}

void TDBSumListProducer::RestoreDataSetEvents()
{
    m_subscriptions.clear();
    m_masterDataSet = nullptr;
    m_deletePending = false;
}

// ---- Totals

TField* TDBSumListProducer::SumField(const TDBSum& sum) const
{
    return sum.FieldName().empty() ? nullptr : m_dataSet->FieldByName(sum.FieldName());
}

// The current record's share of an item: its amount for sums and averages (0 when null), 10,000
// for a count when it counts the record.
std::int64_t TDBSumListProducer::Contribution(const TDBSum& sum) const
{
    const TField* field = SumField(sum);
    if (sum.GroupOperation() == goCount)
        return !field || !field->IsNull() ? Unit : 0;
    if (field->IsNull())
        return 0;
    if (IsNumberFieldType(field->DataType()))
        return FixedPoint(field->AsFloat());
    // Text that is no number adds nothing, rather than failing every recalculation.
    double value = 0;
    return TryStrToFloat(field->AsString(), value) ? FixedPoint(value) : 0;
}

void TDBSumListProducer::ClearTotals()
{
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum* sum = m_sums->SumAt(i);
        sum->m_totalValue = 0;
        sum->m_oldContribution = 0;
        sum->m_rawSum = 0;
        sum->m_nonNullCount = 0;
    }
    m_sumListChanged(this);
}

void TDBSumListProducer::TakeFilter()
{
    m_filtered = m_dataSet->Filtered();
    m_filter = m_dataSet->Filter();
}

void TDBSumListProducer::RecalculateTotals()
{
    if (InactiveContext() || !m_active || !m_dataSet || !m_dataSet->Active() || !EventsOverloaded())
        return;
    try {
        ClearTotals();
        m_onRecalcAll(this);
        if (!m_externalRecalc) {
            RunFullPass();
            m_onAfterRecalcAll(this);
        }
    } catch (...) {
        m_changing = false;
        m_sumListChanged(this);
        TakeFilter();
        throw;
    }
    TakeFilter();
    m_changing = false;
    m_sumListChanged(this);
}

// Visits every record and comes back to the one the user was on.
void TDBSumListProducer::RunFullPass()
{
    bool needed = false;
    for (int i = 0; i < m_sums->Count(); ++i)
        needed = needed || m_sums->SumAt(i)->TakesPart();
    if (!needed)
        return;
    TDataSet& dataSet = *m_dataSet;
    const TBookmarkStr saved = dataSet.Bookmark();
    dataSet.DisableControls();
    m_changing = true;
    try {
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
            for (int i = 0; i < m_sums->Count(); ++i) {
                TDBSum& sum = *m_sums->SumAt(i);
                if (!sum.TakesPart())
                    continue;
                const std::int64_t share = Contribution(sum);
                if (sum.GroupOperation() == goAvg) {
                    sum.m_rawSum += share;
                    sum.m_nonNullCount += SumField(sum)->IsNull() ? 0 : 1;
                } else {
                    sum.m_totalValue += share;
                }
            }
        }
        for (int i = 0; i < m_sums->Count(); ++i)
            if (TDBSum& sum = *m_sums->SumAt(i); sum.GroupOperation() == goAvg)
                sum.m_totalValue = Average(sum.m_rawSum, sum.m_nonNullCount);
        if (!saved.empty() && dataSet.BookmarkValid(saved))
            dataSet.SetBookmark(saved);
        else
            dataSet.First();
    } catch (...) {
        dataSet.EnableControls();
        throw;
    }
    dataSet.EnableControls();
}

// ---- Incremental changes

void TDBSumListProducer::DataSetAfterEdit(TDataSet*)
{
    if (!m_active)
        return;
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum& sum = *m_sums->SumAt(i);
        if (!sum.TakesPart())
            continue;
        sum.m_oldContribution = Contribution(sum);
        const TField* field = SumField(sum);
        sum.m_oldValueNull = !field || field->IsNull();
    }
}

void TDBSumListProducer::DataSetAfterInsert(TDataSet*)
{
    if (!m_active)
        return;
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum& sum = *m_sums->SumAt(i);
        if (!sum.TakesPart())
            continue;
        const TField* field = SumField(sum);
        sum.m_oldValueNull = true;
        sum.m_oldContribution = sum.GroupOperation() == goCount && field && !field->IsNull() ? Unit : 0;
    }
}

void TDBSumListProducer::DataSetAfterPost(TDataSet*)
{
    if (!m_active)
        return;
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum& sum = *m_sums->SumAt(i);
        if (!sum.TakesPart())
            continue;
        const std::int64_t share = Contribution(sum);
        if (sum.GroupOperation() == goAvg) {
            const bool isNull = SumField(sum)->IsNull();
            if (isNull && !sum.m_oldValueNull)
                --sum.m_nonNullCount;
            else if (!isNull && sum.m_oldValueNull)
                ++sum.m_nonNullCount;
            sum.m_rawSum += share - sum.m_oldContribution;
            sum.m_totalValue = Average(sum.m_rawSum, sum.m_nonNullCount);
        } else {
            sum.m_totalValue += share - sum.m_oldContribution;
        }
    }
    m_sumListChanged(this);
}

// Only taken here: the delete may still fail in the database, and the totals must then stay.
void TDBSumListProducer::DataSetBeforeDelete(TDataSet*)
{
    m_deletePending = false;
    if (!m_active)
        return;
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum& sum = *m_sums->SumAt(i);
        if (!sum.TakesPart())
            continue;
        sum.m_deleteContribution = Contribution(sum);
        const TField* field = SumField(sum);
        sum.m_deleteCounted = field && !field->IsNull();
    }
    m_deletePending = true;
}

void TDBSumListProducer::DataSetAfterDelete(TDataSet*)
{
    if (!m_active || !m_deletePending)
        return;
    m_deletePending = false;
    for (int i = 0; i < m_sums->Count(); ++i) {
        TDBSum& sum = *m_sums->SumAt(i);
        if (!sum.TakesPart())
            continue;
        if (sum.GroupOperation() == goAvg) {
            sum.m_rawSum -= sum.m_deleteContribution;
            sum.m_nonNullCount -= sum.m_deleteCounted ? 1 : 0;
            sum.m_totalValue = Average(sum.m_rawSum, sum.m_nonNullCount);
        } else {
            sum.m_totalValue -= sum.m_deleteContribution;
        }
    }
    m_sumListChanged(this);
}

void TDBSumListProducer::DataSetAfterOpen(TDataSet*)
{
    RecalculateTotals();
}

void TDBSumListProducer::DataSetAfterClose(TDataSet*)
{
    if (!m_active)
        return;
    ClearTotals();
    m_changing = false;
}

void TDBSumListProducer::DataSetAfterScroll(TDataSet* dataSet)
{
    if (!m_active || m_changing)
        return;
    const bool filterChanged =
        dataSet->Filtered() != m_filtered || (dataSet->Filtered() && dataSet->Filter() != m_filter);
    if (filterChanged)
        RecalculateTotals();
}

void TDBSumListProducer::MasterAfterScroll(TDataSet*)
{
    if (m_active && !m_changing)
        RecalculateTotals();
}
