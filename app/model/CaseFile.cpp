#include "app/model/CaseFile.h"

#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/SettingsYaml.h"

#include <yaml-cpp/yaml.h>

#include <cmath>

namespace {
constexpr const char* kVersionKey = "Case Version";
constexpr const char* kUnitsKey = "Units";

struct DetailKey {
    const char* key;
    std::string CaseDetails::*member;
};
constexpr DetailKey kDetailKeys[] = {
    {"Well Name", &CaseDetails::wellName},
    {"Field", &CaseDetails::field},
    {"Engineer", &CaseDetails::engineer},
    {"Notes", &CaseDetails::notes},
};

[[noreturn]] void Refuse(const YAML::Node& root, const char* key, const std::string& problem) {
    throw SettingsFileError(BadValueOf(root, key) + ": " + problem);
}

YAML::Node RequiredScalar(const YAML::Node& root, const char* key) {
    const YAML::Node node = root[key];
    if (!node.IsDefined()) {
        throw SettingsFileError(std::string("missing key \"") + key + "\"");
    }
    if (!node.IsScalar()) {
        Refuse(root, key, "not a single value");
    }
    return node;
}

void CheckVersion(const YAML::Node& root) {
    const YAML::Node node = RequiredScalar(root, kVersionKey);
    const std::optional<double> version = ReadNumber(node.Scalar());
    if (!version || *version != std::floor(*version) || *version < 1) {
        Refuse(root, kVersionKey, "not a case version (a whole number from 1)");
    }
    if (*version > kCaseVersion) {
        Refuse(root, kVersionKey,
               "version " + FormatNumber(*version) +
                   " comes from a newer program; this one reads cases up to version " +
                   std::to_string(kCaseVersion));
    }
}

UnitSystem ReadUnits(const YAML::Node& root) {
    const YAML::Node node = RequiredScalar(root, kUnitsKey);
    for (UnitSystem units : {UnitSystem::Oilfield, UnitSystem::Metric}) {
        if (node.Scalar() == UnitSystemName(units)) {
            return units;
        }
    }
    Refuse(root, kUnitsKey, "'" + node.Scalar() + "' is neither oilfield nor metric");
}

// A particular is optional: a case without it has it empty.
CaseDetails ReadDetails(const YAML::Node& root) {
    CaseDetails details;
    for (const DetailKey& detail : kDetailKeys) {
        const YAML::Node node = root[detail.key];
        if (!node.IsDefined() || node.IsNull()) {
            continue;
        }
        if (!node.IsScalar()) {
            Refuse(root, detail.key, "not text");
        }
        details.*detail.member = node.Scalar();
    }
    return details;
}

// Every value must be one the user could have typed: finite and within its own range. The values
// are judged as written, before a derived one (the rate from the pump) is worked out from them,
// so the message names the key at fault.
void CheckValues(const YAML::Node& root) {
    for (const ParameterEntry& entry : Parameters()) {
        const YAML::Node node = root[entry.storedKey];
        if (!node.IsDefined()) {
            continue; // a later input, at its shipped value
        }
        const std::string& text = node.Scalar();
        if (entry.quantity == Quantity::Switch && (text == "true" || text == "false")) {
            continue;
        }
        const std::optional<double> value = ReadNumber(text);
        if (!value || !std::isfinite(*value)) {
            Refuse(root, entry.storedKey, "'" + text + "' is not a finite number");
        }
        if (!WithinOwnLimits(entry, *value)) {
            Refuse(root, entry.storedKey,
                   FormatNumber(*value) + " is out of its range (" + DescribeLimits(entry) + ")");
        }
    }
}
} // namespace

bool CaseDesign::SameAs(const CaseDesign& other) const {
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.Get(parameters) != entry.Get(other.parameters)) {
            return false;
        }
    }
    return presetName == other.presetName && units == other.units && details == other.details;
}

CaseDesign ParseCaseText(const std::string& text, const WellParameters& shipped) {
    const YAML::Node root = ParseSettingsMap(text);
    CheckVersion(root);
    CaseDesign design;
    design.units = ReadUnits(root);
    design.details = ReadDetails(root);
    design.parameters = shipped;
    design.parameters.SetPumpRunning(false);
    ParseDefaultsText(text, design.parameters, design.presetName);
    CheckValues(root);
    return design;
}

std::string FormatCaseText(const CaseDesign& design) {
    YAML::Emitter out;
    out << YAML::BeginMap << YAML::Key << kVersionKey << YAML::Value << kCaseVersion;
    for (const DetailKey& detail : kDetailKeys) {
        // Quoted, so every text (a number, "true", several lines) reads back as itself.
        out << YAML::Key << detail.key << YAML::Value << YAML::DoubleQuoted
            << design.details.*detail.member;
    }
    out << YAML::Key << kUnitsKey << YAML::Value << UnitSystemName(design.units) << YAML::EndMap;
    if (!out.good()) {
        throw SettingsFileError(std::string("cannot write the case: ") + out.GetLastError());
    }
    // The inputs as the defaults file writes them, one map continued: the unit system once.
    std::string text =
        std::string(out.c_str()) + "\n" + FormatInputsText(design.parameters, design.presetName);
    // A case is read back only up to its size limit: one larger is refused here, while its
    // particulars can still be shortened, rather than saved and never opened again.
    if (text.size() > kMaxCaseFileBytes) {
        throw SettingsFileError("its particulars make it larger than 1 MiB, more than a case can "
                                "hold; shorten the notes (File > Case Details...) and save again");
    }
    return text;
}

namespace {
// The length of the well-formed UTF-8 sequence of two to four bytes at `at`, or 0.
size_t Utf8SequenceAt(const std::string& text, size_t at) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4
                          : lead >= 0xE0               ? 3
                          : lead >= 0xC2               ? 2
                                                       : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (size_t i = at + 1; i < at + length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// A no-break, narrow no-break or other typographic space (U+00A0, U+2000 to U+200A, U+202F).
bool IsWideBlank(const std::string& character) {
    if (character == "\u00a0" || character == "\u202f") {
        return true;
    }
    return character >= "\u2000" && character <= "\u200a" && character.size() == 3;
}

// Characters beyond ASCII that are no letters: the Latin-1 signs and blanks (U+00A0 to U+00BF,
// and the multiplication and division signs), and the general punctuation, blanks and marks of
// U+2000 to U+206F. Letters of every script, and digits, are kept.
bool IsSignOrBlank(const std::string& sequence) {
    const auto byte = [&sequence](size_t i) { return static_cast<unsigned char>(sequence[i]); };
    if (sequence.size() == 2 && byte(0) == 0xC2) {
        return true; // U+0080 to U+00BF
    }
    if (sequence.size() == 2 && byte(0) == 0xC3) {
        return byte(1) == 0x97 || byte(1) == 0xB7; // x and the division sign
    }
    return sequence.size() == 3 && byte(0) == 0xE2 && (byte(1) == 0x80 || byte(1) == 0x81);
}
} // namespace

std::string FileNameStem(const std::string& name, bool wordsApart, const std::string& fallback) {
    constexpr size_t kMostBytes = 100;
    std::string stem;
    for (size_t at = 0; at < name.size();) {
        const size_t length = std::max<size_t>(1, Utf8SequenceAt(name, at));
        std::string character = name.substr(at, length);
        at += length;
        if (IsWideBlank(character)) {
            character = " ";
        }
        const char c = character[0];
        const bool apart = c == ' ' || c == '-' || c == '_';
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || (wordsApart && apart) ||
                           (character.size() > 1 && !IsSignOrBlank(character));
        // One blank between words, none at the ends: "Smith & Sons" is "Smith Sons".
        const bool blankAfterBlank = c == ' ' && (stem.empty() || stem.back() == ' ');
        if (plain && !blankAfterBlank && stem.size() + character.size() <= kMostBytes) {
            stem += character;
        }
    }
    if (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    return stem.empty() ? fallback : stem;
}
