// COutputTable: what a command prints, as rows under named columns, written as an aligned table for a
// reader, as one JSON document or as CSV for a script.
#pragma once

#include <ostream>
#include <string>
#include <vector>

enum class OutputFormat { Table, Json, Csv };

class COutputTable {
public:
    explicit COutputTable(std::vector<std::string> columns) : m_columns(std::move(columns)) {}

    void AddRow(std::vector<std::string> row) { m_rows.push_back(std::move(row)); }
    size_t RowCount() const { return m_rows.size(); }

    // JSON: an array of objects keyed by column; with bSingleObject the first row alone, as one object.
    void Write(std::ostream& out, OutputFormat format, bool bSingleObject = false) const;
    // One row as one JSON line (watch --format json).
    std::string JsonLine(size_t nRow) const;
    // One row as one CSV line, without the header.
    std::string CsvLine(size_t nRow) const;

private:
    std::vector<std::string> m_columns;
    std::vector<std::vector<std::string>> m_rows;
};
