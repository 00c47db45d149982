// Reading the apply table.
#include "ApplyTable.h"

#include "AddressText.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

// One CSV record (RFC 4180: quoted fields may hold commas, quotes doubled, line breaks).
bool ReadCsvRecord(std::istream& in, std::vector<std::string>& fields, int& nLine) {
    fields.assign(1, "");
    bool bQuoted = false, bAny = false;
    for (int c = in.get(); c != EOF; c = in.get()) {
        bAny = true;
        if (bQuoted) {
            if (c == '"' && in.peek() == '"') {
                fields.back() += static_cast<char>(in.get());
            } else if (c == '"') {
                bQuoted = false;
            } else {
                if (c == '\n') ++nLine;
                fields.back() += static_cast<char>(c);
            }
        } else if (c == '"') {
            bQuoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++nLine;
            return true;
        } else if (c != '\r') {
            fields.back() += static_cast<char>(c);
        }
    }
    return bAny;
}

std::optional<std::string>* FieldOf(CSettingsChange& change, const std::string& key) {
    if (key == "dhcp") return &change.dhcp;
    if (key == "ip") return &change.ip;
    if (key == "mask") return &change.mask;
    if (key == "gateway") return &change.gateway;
    if (key == "name") return &change.name;
    if (key == "workgroup") return &change.workgroup;
    if (key == "timezone") return &change.timezone;
    if (key == "date") return &change.date;
    if (key == "time") return &change.time;
    return nullptr;
}

// Fills one row from key/value cells; appends the row's messages.
void FillRow(ApplyRow& row, const std::vector<std::pair<std::string, std::string>>& cells,
             std::vector<std::string>& errors) {
    const std::string where = "row " + std::to_string(row.nLine) + ": ";
    bool bMac = false;
    for (const auto& [key, value] : cells) {
        if (key == "mac") {
            row.mac = value;
            bMac = ParseMac(value, row.abMac);
            continue;
        }
        std::optional<std::string>* pField = FieldOf(row.change, key);
        if (!pField) {
            errors.push_back(where + "unknown column \"" + key + "\"");
        } else if (!value.empty()) {
            *pField = value;
        }
    }
    if (!bMac) errors.push_back(where + "no valid MAC address");
    for (const std::string& error : row.change.Check()) errors.push_back(where + error);
}

}  // namespace

bool ReadApplyTable(std::istream& in, bool bJson, std::vector<ApplyRow>& rows, std::vector<std::string>& errors) {
    const size_t nErrorsBefore = errors.size();
    if (bJson) {
        nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
        if (document.is_discarded() || !document.is_array()) {
            errors.push_back("the JSON table must be an array of objects");
            return false;
        }
        int nIndex = 0;
        for (const auto& item : document) {
            ApplyRow row{++nIndex, {}, {}, {}};
            std::vector<std::pair<std::string, std::string>> cells;
            if (!item.is_object()) {
                errors.push_back("row " + std::to_string(nIndex) + ": not an object");
                continue;
            }
            for (const auto& [key, value] : item.items())
                cells.emplace_back(key, value.is_string() ? value.get<std::string>() : value.dump());
            FillRow(row, cells, errors);
            rows.push_back(std::move(row));
        }
    } else {
        std::vector<std::string> header, fields;
        int nLine = 1;
        if (!ReadCsvRecord(in, header, nLine)) {
            errors.push_back("the table is empty");
            return false;
        }
        for (int nRecordLine = nLine; ReadCsvRecord(in, fields, nLine); nRecordLine = nLine) {
            if (fields.size() == 1 && fields[0].empty()) continue;
            ApplyRow row{nRecordLine, {}, {}, {}};
            if (fields.size() != header.size()) {
                errors.push_back("row " + std::to_string(nRecordLine) + ": " + std::to_string(fields.size()) +
                                 " cells under " + std::to_string(header.size()) + " columns");
                continue;
            }
            std::vector<std::pair<std::string, std::string>> cells;
            for (size_t i = 0; i < header.size(); ++i) cells.emplace_back(header[i], fields[i]);
            FillRow(row, cells, errors);
            rows.push_back(std::move(row));
        }
    }
    return errors.size() == nErrorsBefore;
}
