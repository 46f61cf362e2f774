// A formula value: a list of texts, numbers or times, or an error, as the evaluator passes them around.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace formula {

enum class Kind : unsigned char { Text, Number, Time, Error };

// Every value is a list; a single value is a list of one. Texts are LMBCS.
struct Value {
    Kind kind = Kind::Text;
    std::vector<std::string> texts;
    std::vector<double> numbers;
    std::vector<TIMEDATE> times;
    std::string error;  // the message of an error value (LMBCS)

    std::size_t Size() const {
        switch (kind) {
            case Kind::Text:
                return texts.size();
            case Kind::Number:
                return numbers.size();
            case Kind::Time:
                return times.size();
            case Kind::Error:
                return 1;
        }
        return 0;
    }
    bool IsError() const { return kind == Kind::Error; }
    // True for a non-zero number, a non-empty text or any time; never for an error.
    bool Truth() const {
        switch (kind) {
            case Kind::Number:
                for (double n : numbers) {
                    if (n != 0) {
                        return true;
                    }
                }
                return false;
            case Kind::Text:
                for (const std::string &t : texts) {
                    if (!t.empty()) {
                        return true;
                    }
                }
                return false;
            case Kind::Time:
                return !times.empty();
            case Kind::Error:
                return false;
        }
        return false;
    }

    static Value Text(std::string text) {
        Value v;
        v.texts.push_back(std::move(text));
        return v;
    }
    static Value Texts(std::vector<std::string> texts) {
        Value v;
        v.texts = std::move(texts);
        if (v.texts.empty()) {
            v.texts.emplace_back();
        }
        return v;
    }
    static Value Number(double n) {
        Value v;
        v.kind = Kind::Number;
        v.numbers.push_back(n);
        return v;
    }
    static Value Numbers(std::vector<double> numbers) {
        if (numbers.empty()) {
            return Text(std::string());
        }
        Value v;
        v.kind = Kind::Number;
        v.numbers = std::move(numbers);
        return v;
    }
    static Value Bool(bool b) { return Number(b ? 1 : 0); }
    static Value Time(const TIMEDATE &t) {
        Value v;
        v.kind = Kind::Time;
        v.times.push_back(t);
        return v;
    }
    static Value Times(std::vector<TIMEDATE> times) {
        if (times.empty()) {
            return Text(std::string());
        }
        Value v;
        v.kind = Kind::Time;
        v.times = std::move(times);
        return v;
    }
    static Value Error(std::string message) {
        Value v;
        v.kind = Kind::Error;
        v.error = std::move(message);
        return v;
    }
};

}  // namespace formula
