#pragma once
// The JSON form of a case record used by "vesk-cli case show" and "vesk-cli case import".
// Field names are stable; docs/cli.md lists them. The mapping lives in the tool so that
// the core needs no JSON library.

#include <nlohmann/json.hpp>
#include <string>

#include "cases/CaseRecord.h"

namespace vesk::cli {

// The record as JSON: header, patient, plan, BP head and readings, SpO2 head, the tail, and
// the SpO2 samples when withSamples (else only their count).
nlohmann::ordered_json CaseToJson(const _FILE_ALL_INFO& info, bool withSamples);

// Builds a record from that JSON, checking every field: type, range of its stored width,
// texts the plan's narrow code page can hold, unknown names (typing errors). On failure
// returns false with one line per problem in *error, each naming the field ("readings[3].sys").
// Keys that "case show" adds for reading only (fileVersion, lists, flags, valid...) are
// accepted and ignored.
bool CaseFromJson(const nlohmann::ordered_json& json, _FILE_ALL_INFO& out, std::string* error);

}  // namespace vesk::cli
