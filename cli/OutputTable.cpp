// Table, JSON and CSV writers.
#include "OutputTable.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string COutputTable::JsonLine(size_t nRow) const {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t c = 0; c < m_columns.size(); ++c) object[m_columns[c]] = m_rows[nRow][c];
    // Appliances' texts are not guaranteed UTF-8; replace what is not.
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string COutputTable::CsvLine(size_t nRow) const {
    std::string line;
    for (size_t c = 0; c < m_rows[nRow].size(); ++c) {
        if (c) line += ',';
        line += CsvField(m_rows[nRow][c]);
    }
    return line;
}

void COutputTable::Write(std::ostream& out, OutputFormat format, bool bSingleObject) const {
    switch (format) {
        case OutputFormat::Json: {
            if (bSingleObject && !m_rows.empty()) {
                out << JsonLine(0) << "\n";
                break;
            }
            out << "[";
            for (size_t r = 0; r < m_rows.size(); ++r) out << (r ? ",\n " : "") << JsonLine(r);
            out << "]\n";
            break;
        }
        case OutputFormat::Csv: {
            for (size_t c = 0; c < m_columns.size(); ++c) out << (c ? "," : "") << CsvField(m_columns[c]);
            out << "\n";
            for (size_t r = 0; r < m_rows.size(); ++r) out << CsvLine(r) << "\n";
            break;
        }
        case OutputFormat::Table: {
            std::vector<size_t> widths;
            for (const auto& column : m_columns) widths.push_back(column.size());
            for (const auto& row : m_rows)
                for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
            auto line = [&](const std::vector<std::string>& cells) {
                std::string text;
                for (size_t c = 0; c < cells.size(); ++c) {
                    text += cells[c];
                    if (c + 1 < cells.size()) text += std::string(widths[c] - cells[c].size() + 2, ' ');
                }
                out << text << "\n";
            };
            std::vector<std::string> header;
            for (const auto& column : m_columns) {
                std::string upper = column;
                std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
                header.push_back(upper);
            }
            line(header);
            for (const auto& row : m_rows) line(row);
            break;
        }
    }
}
