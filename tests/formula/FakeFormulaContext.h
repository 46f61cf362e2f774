// A note for formula tests: items of every type in canonical bytes written by hand, and fixed facts.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/Lmbcs.h"
#include "common/TimeDate.h"
#include "formula/FormulaContext.h"

namespace formulatest {

inline void PutWord(std::string &out, unsigned w) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>((w >> 8) & 0xFF);
}

inline void PutDouble(std::string &out, double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, 8);
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

inline void PutTime(std::string &out, const TIMEDATE &t) {
    PutWord(out, t.Innards[0] & 0xFFFF);
    PutWord(out, t.Innards[0] >> 16);
    PutWord(out, t.Innards[1] & 0xFFFF);
    PutWord(out, t.Innards[1] >> 16);
}

inline std::string TextList(const std::vector<std::string> &texts) {
    std::string out;
    PutWord(out, static_cast<unsigned>(texts.size()));
    for (const std::string &t : texts) {
        PutWord(out, static_cast<unsigned>(t.size()));
    }
    for (const std::string &t : texts) {
        out += t;
    }
    return out;
}

inline std::string NumberList(const std::vector<double> &numbers) {
    std::string out;
    PutWord(out, static_cast<unsigned>(numbers.size()));
    PutWord(out, 0);
    for (double n : numbers) {
        PutDouble(out, n);
    }
    return out;
}

inline TIMEDATE At(int year, int month, int day, int hour = -1, int minute = 0, int second = 0) {
    standin::CalendarTime c;
    c.year = year;
    c.month = month;
    c.day = day;
    if (hour < 0) {
        c.hasTime = false;
    } else {
        c.hour = hour;
        c.minute = minute;
        c.second = second;
    }
    return standin::MakeTimeDate(c);
}

class FakeFormulaContext : public formula::FormulaContext {
public:
    FakeFormulaContext() {
        Text("Subject", "Re: Budget 2021");
        Text("Form", "Memo");
        Text("Body", "  hello   world  ");
        Text("Empty", "");
        Text("Category1", "Cat A");
        Text("Category2", "Cat B");
        Text("From", "CN=John Smith/OU=Sales/O=Acme/C=US");
        Text("$UpdatedBy", "CN=Editor/O=Acme");
        Text("Umlaut", standin::Utf8ToLmbcs("Müller"));
        Set("Names", notes::kTypeTextList, TextList({"Anna", "bob", "Carl"}));
        Set("Tags", notes::kTypeTextList, TextList({"a", "b", "c"}));
        std::string price;
        PutDouble(price, 12.5);
        Set("Price", notes::kTypeNumber, price);
        Set("Qty", notes::kTypeNumberRange, NumberList({1, 2, 3}));
        std::string due;
        PutTime(due, At(2021, 6, 1));
        Set("Due", notes::kTypeTime, due);
        std::string dates;
        PutWord(dates, 2);
        PutWord(dates, 0);
        PutTime(dates, At(2019, 1, 2));
        PutTime(dates, At(2020, 3, 4, 5, 6, 7));
        Set("Dates", notes::kTypeTimeRange, dates);
        // A list whose count promises more than its bytes hold.
        Set("Broken", notes::kTypeTextList, std::string("\x05\x00\x03\x00", 4));
    }

    void Set(const std::string &name, WORD type, const std::string &bytes) {
        std::string key;
        for (char c : name) {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        m_items[key] = {type, bytes};
    }
    void Text(const std::string &name, const std::string &text) { Set(name, notes::kTypeText, text); }

    bool FindItem(const std::string &name, WORD &type, std::string &value) const override {
        std::string key;
        for (char c : name) {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        auto it = m_items.find(key);
        if (it == m_items.end()) {
            return false;
        }
        type = it->second.first;
        value = it->second.second;
        return true;
    }
    NOTEID NoteId() const override { return 0x210A; }
    UNID Unid() const override {
        UNID unid{};
        unid.File.Innards[1] = 0x85257A1B;
        unid.File.Innards[0] = 0x00123456;
        unid.Note.Innards[1] = 0x852579FF;
        unid.Note.Innards[0] = 0xABCDEF01;
        return unid;
    }
    TIMEDATE Created() const override { return At(2020, 3, 15, 10, 30, 0); }
    TIMEDATE Modified() const override { return At(2021, 12, 31, 23, 59, 59); }
    TIMEDATE Accessed() const override { return At(2022, 1, 1, 8, 0, 0); }
    bool IsResponse() const override { return false; }
    std::string DbTitle() const override { return "Test Db"; }
    std::string DbFileName() const override { return "test.nsf"; }
    std::string ServerName() const override { return ""; }
    std::string UserName() const override { return "CN=Tester/O=Acme"; }
    std::string DocNumber() const override { return "3.1"; }

private:
    std::map<std::string, std::pair<WORD, std::string>> m_items;
};

}  // namespace formulatest
