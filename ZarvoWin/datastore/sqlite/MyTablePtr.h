#pragma once
#include "MyTable.h"

#include <memory>

namespace SQLite {

// Owns at most one query result.
class MyTablePtr
{
public:
    MyTablePtr() = default;
    explicit MyTablePtr(std::unique_ptr<MyTable> table) : m_table(std::move(table)) {}
    MyTablePtr(MyTablePtr &&) noexcept = default;
    MyTablePtr &operator=(MyTablePtr &&) noexcept = default;
    virtual ~MyTablePtr() = default;

    // Drops its own table and takes the other's, leaving the other empty.
    void TakeFrom(MyTablePtr &other) { m_table = std::move(other.m_table); }
    void Reset() { m_table.reset(); }

    MyTable *get() const { return m_table.get(); }
    MyTable *operator->() const { return m_table.get(); }
    MyTable &operator*() const { return *m_table; }
    explicit operator bool() const { return static_cast<bool>(m_table); }
    // True when a table came back and it has at least one row.
    bool hasRows() const { return m_table && m_table->rowCount() > 0; }

private:
    std::unique_ptr<MyTable> m_table;
};

} // namespace SQLite
