#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBSubscriptions.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IDataGridGx;
class TDataSet;
class TDBSumListProducer;
class TField;

enum TGroupOperation { goSum, goAvg, goCount };

[[nodiscard]] const TTypeInfo& GroupOperationTypeInfo();

// One aggregate of a field: its sum, average or count. Amounts are fixed-point, value x 10,000
// rounded half to even (a count adds 10,000 per record); a value too large for that raises
// EInvalidOp rather than wrapping.
class TDBSum : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TDBSum(TCollection* collection) : TCollectionItem(collection) {}

    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& name);
    [[nodiscard]] TGroupOperation GroupOperation() const { return m_groupOperation; }
    void SetGroupOperation(TGroupOperation operation);
    [[nodiscard]] std::int64_t TotalValue() const { return m_totalValue; }
    // Counts and sums without a field name take part; sums and averages need a field.
    [[nodiscard]] bool TakesPart() const { return m_groupOperation == goCount || !m_fieldName.empty(); }
    void Assign(const TPersistent* source) override;

private:
    friend class TDBSumListProducer;

    std::string m_fieldName;
    TGroupOperation m_groupOperation = goSum;
    std::int64_t m_oldContribution = 0;
    int m_nonNullCount = 0;
    std::int64_t m_rawSum = 0;
    bool m_oldValueNull = true;
    std::int64_t m_totalValue = 0;
    // What the record about to be deleted adds, taken before the delete and applied after it.
    std::int64_t m_deleteContribution = 0;
    bool m_deleteCounted = false;
};

// The items of a producer; a change of any of them recalculates everything.
class TDBSumCollection : public TCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit TDBSumCollection(TDBSumListProducer* producer);
    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] TDBSum* Add() { return static_cast<TDBSum*>(TCollection::Add()); }
    [[nodiscard]] TDBSum* SumAt(int index) const { return static_cast<TDBSum*>(Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TDBSumListProducer* m_producer;
};

// Running sums, averages and counts of a data set's fields for the grid's footers. It follows the
// data set's events through subscriptions (the data set keeps calling the application's own
// handlers): a full pass when the data set opens, its filter changed or its master scrolled;
// incremental changes on edit, insert, post and delete.
class TDBSumListProducer : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    // owner: the data grid, or null; while it loads the producer stays unhooked.
    explicit TDBSumListProducer(IDataGridGx* owner = nullptr);
    ~TDBSumListProducer() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] bool Active() const { return m_active; }
    void SetActive(bool value);
    [[nodiscard]] TDataSet* DataSet() const { return m_dataSet; }
    // The owner sets none when the data set is destroyed.
    void SetDataSet(TDataSet* dataSet);
    [[nodiscard]] bool ExternalRecalc() const { return m_externalRecalc; }
    void SetExternalRecalc(bool value);
    [[nodiscard]] TDBSumCollection* SumCollection() const { return m_sums.get(); }
    [[nodiscard]] TDBSum* GetSumByOpAndFName(TGroupOperation operation, std::string_view fieldName) const;
    [[nodiscard]] bool EventsOverloaded() const { return !m_subscriptions.empty(); }
    void Loaded();

    [[nodiscard]] bool IsSequenced() const;
    [[nodiscard]] int RecordCount() const;
    [[nodiscard]] int ReadRecNo() const;
    void WriteRecNo(int recNo);

    void Activate(bool recalc);
    void Deactivate(bool clear);
    virtual void ClearTotals();
    virtual void RecalculateTotals();

    [[nodiscard]] const TNotifyEvent& SumListChanged() const { return m_sumListChanged; }
    void SetSumListChanged(const TNotifyEvent& handler) { m_sumListChanged = handler; }
    [[nodiscard]] const TNotifyEvent& OnRecalcAll() const { return m_onRecalcAll; }
    void SetOnRecalcAll(const TNotifyEvent& handler) { m_onRecalcAll = handler; }
    [[nodiscard]] const TNotifyEvent& OnAfterRecalcAll() const { return m_onAfterRecalcAll; }
    void SetOnAfterRecalcAll(const TNotifyEvent& handler) { m_onAfterRecalcAll = handler; }

protected:
    virtual void HookDataSetEvents();
    virtual void RestoreDataSetEvents();
    virtual void DataSetAfterEdit(TDataSet* dataSet);
    virtual void DataSetAfterInsert(TDataSet* dataSet);
    virtual void DataSetAfterPost(TDataSet* dataSet);
    virtual void DataSetBeforeDelete(TDataSet* dataSet);
    virtual void DataSetAfterDelete(TDataSet* dataSet);
    virtual void DataSetAfterOpen(TDataSet* dataSet);
    virtual void DataSetAfterClose(TDataSet* dataSet);
    virtual void DataSetAfterScroll(TDataSet* dataSet);
    virtual void MasterAfterScroll(TDataSet* dataSet);

private:
    [[nodiscard]] bool InactiveContext() const;
    [[nodiscard]] TField* SumField(const TDBSum& sum) const;
    [[nodiscard]] std::int64_t Contribution(const TDBSum& sum) const;
    void RunFullPass();
    void TakeFilter();
    void Subscribe(TDataSet& dataSet, TDataSetNotifyKind kind, void (TDBSumListProducer::*handler)(TDataSet*));

    IDataGridGx* m_owner;
    std::unique_ptr<TDBSumCollection> m_sums;
    bool m_active = true;
    TDataSet* m_dataSet = nullptr;
    TDataSet* m_masterDataSet = nullptr;
    bool m_externalRecalc = false;
    bool m_changing = false;
    bool m_deletePending = false;
    std::string m_filter;
    bool m_filtered = false;
    std::vector<TDataSetSubscription> m_subscriptions;
    TNotifyEvent m_sumListChanged;
    TNotifyEvent m_onRecalcAll;
    TNotifyEvent m_onAfterRecalcAll;
};
