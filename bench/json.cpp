// JSON writing and reading: GAD_SBJSON against RapidJSON (Writer, DOM parse), nlohmann-json
// (dump, parse) and, for reading only, simdjson's DOM parser as the ceiling. Each library
// writes from its own tree, built once outside the timing, and reads into its own tree.
//
// Inputs: an ad-request parameter dictionary (~30 keys: short texts, integers, reals, a
// nested object of 4 reals, 3 keywords, a nested dictionary of 5 texts); a ~1 MB document
// of such dictionaries; a ~1 MB string-heavy document (long texts with some escapes and
// non-ASCII letters).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>
#include <string>
#include <thread>

#include "sdk/encoding/GAD_SBJSON.h"

namespace {

using pf::Value;

Value parameters(int i) {
  Value p = Value::dictionary();
  p.set("slotname", "a15c0f3e82d9b47");
  p.set("js", "vize-sdk-i-v4.1.1");
  p.set("net", i % 2 ? "wi" : "ed");
  p.set("hl", "en");
  p.set("isu", "5D41402ABC4B2A76B9719D911017C592");
  p.set("app_name", "1.0.iphone.org.kelvarn.ashenmoor");
  p.set("u_w", 320);
  p.set("u_h", 480);
  p.set("u_so", i % 4 == 0 ? "l" : "p");
  p.set("u_sd", 2.0);
  p.set("u_audio", 3);
  p.set("preqs", i);
  p.set("cap_bs", 1);
  p.set("ios_ipadc", "1");
  p.set("format", "320x50_mb");
  p.set("cust_age", "19800102");
  p.set("cust_gender", 2);
  p.set("uule", "a+cm9sZTogMQpwcm9kdWNlcjogMTIKdGltZXN0YW1wOiAxMzAyNjI1NjAwMDAwMDAwCg==");
  p.set("adtest", "on");
  p.set("prl", 12345 + i);
  p.set("pcl", 1.25 * (i % 9));
  p.set("stl", 0.731 + i * 1e-4);
  p.set("lat", 37.4219983 + i * 1e-6);
  p.set("lng", -122.084 - i * 1e-6);
  p.set("tmp", i % 3 == 0);
  p.set("ad_frame", Value::dictionary({{"x", 0.0}, {"y", 365.0}, {"w", 320.5}, {"h", 50.25}}));
  p.set("kw", Value::array({"series", "season 2", "episode guide"}));
  p.set("ios_metadata", Value::dictionary({{"itemName", "Ashenmoor"},
                                           {"artistName", "Kelvarn Studios"},
                                           {"genre", "Entertainment"},
                                           {"bundleVersion", "1.0"},
                                           {"softwareVersionBundleId", "org.kelvarn.ashenmoor"}}));
  p.set("gad_gmrs", "ZXhhbXBsZS1zaWduYWw");
  p.set("msid", "org.kelvarn.ashenmoor");
  return p;
}

Value document(int count) {
  Value::Array items;
  for (int i = 0; i < count; ++i) items.push_back(parameters(i));
  return Value(std::move(items));
}

Value stringDocument() {
  const std::string words[] = {"ash", "moor", "kelvarn", "\xC3\xA9t\xC3\xA9", "tab\there",
                               "say \"hi\"", "c:\\path", "line\nbreak", "plain", "text"};
  Value::Array items;
  size_t total = 0;
  for (int i = 0; total < 1000000; ++i) {
    std::string s;
    for (int w = 0; w < 60; ++w) {
      s += words[(i * 7 + w * 3) % 10];
      s += ' ';
    }
    total += s.size();
    items.push_back(Value(std::move(s)));
  }
  return Value(std::move(items));
}

// The same trees for the peers.
void toRapid(const Value& v, rapidjson::Value& out, rapidjson::Document::AllocatorType& a) {
  switch (v.kind()) {
    case Value::Kind::Dictionary:
      out.SetObject();
      for (const auto& [k, item] : *v.asDictionary()) {
        rapidjson::Value key(k.c_str(), static_cast<rapidjson::SizeType>(k.size()), a), val;
        toRapid(item, val, a);
        out.AddMember(key, val, a);
      }
      break;
    case Value::Kind::Array:
      out.SetArray();
      for (const auto& item : *v.asArray()) {
        rapidjson::Value val;
        toRapid(item, val, a);
        out.PushBack(val, a);
      }
      break;
    case Value::Kind::String:
      out.SetString(v.stringRef().c_str(), static_cast<rapidjson::SizeType>(v.stringRef().size()), a);
      break;
    case Value::Kind::Boolean: out.SetBool(*v.asBoolean()); break;
    case Value::Kind::Integer: out.SetInt64(*v.asInteger()); break;
    case Value::Kind::Null: out.SetNull(); break;
    default: out.SetDouble(*v.asReal()); break;
  }
}

nlohmann::json toNlohmann(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Dictionary: {
      nlohmann::json j = nlohmann::json::object();
      for (const auto& [k, item] : *v.asDictionary()) j[k] = toNlohmann(item);
      return j;
    }
    case Value::Kind::Array: {
      nlohmann::json j = nlohmann::json::array();
      for (const auto& item : *v.asArray()) j.push_back(toNlohmann(item));
      return j;
    }
    case Value::Kind::String: return v.stringRef();
    case Value::Kind::Boolean: return *v.asBoolean();
    case Value::Kind::Integer: return *v.asInteger();
    case Value::Kind::Null: return nullptr;
    default: return *v.asReal();
  }
}

struct Input {
  Value tree;
  rapidjson::Document rapid;
  nlohmann::json nlohmann;
  std::string text;
  explicit Input(Value v) : tree(std::move(v)) {
    toRapid(tree, rapid, rapid.GetAllocator());
    nlohmann = toNlohmann(tree);
    text = *GAD_SBJSON().stringWithObjectError(tree);
  }
};

const Input& params() {
  static Input input(parameters(7));
  return input;
}
const Input& doc() {
  static Input input(document(1250));
  return input;
}
// The document as the reader builds it (nodes allocated in key order, as any tree that came
// from JSON text is laid out), beside the one built key by key above.
const Input& docAsRead() {
  static Input input(*GAD_SBJSON().objectWithStringError(doc().text));
  return input;
}
const Input& strings() {
  static Input input(stringDocument());
  return input;
}

void writeOurs(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    auto text = GAD_SBJSON().stringWithObjectError(in.tree);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
void writeRapid(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    in.rapid.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
void writeNlohmann(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    std::string text = in.nlohmann.dump();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}

void readOurs(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    auto value = GAD_SBJSON().objectWithStringError(in.text);
    if (!value) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
// The same on a new thread each time: nothing carried over from earlier readings (no blocks
// kept for reuse, no container sizes remembered), as for the first message of a stream.
void readOursFreshThread(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    std::thread reader([&] {
      auto value = GAD_SBJSON().objectWithStringError(in.text);
      if (!value) state.SkipWithError("read failed");
      benchmark::DoNotOptimize(value);
    });
    reader.join();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
void readRapid(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(in.text.data(), in.text.size());
    if (d.HasParseError()) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
void readNlohmann(benchmark::State& state, const Input& in) {
  for (auto _ : state) {
    auto j = nlohmann::json::parse(in.text);
    benchmark::DoNotOptimize(j);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}
void readSimdjson(benchmark::State& state, const Input& in) {
  simdjson::dom::parser parser;  // reused, as simdjson intends
  simdjson::padded_string padded(in.text);
  for (auto _ : state) {
    simdjson::dom::element e;
    if (parser.parse(padded).get(e)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(e);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.text.size()));
}

void BM_WriteParams_Ours(benchmark::State& s) { writeOurs(s, params()); }
void BM_WriteParams_RapidJSON(benchmark::State& s) { writeRapid(s, params()); }
void BM_WriteParams_Nlohmann(benchmark::State& s) { writeNlohmann(s, params()); }
void BM_WriteDocument_Ours(benchmark::State& s) { writeOurs(s, doc()); }
void BM_WriteDocument_RapidJSON(benchmark::State& s) { writeRapid(s, doc()); }
void BM_WriteDocument_Nlohmann(benchmark::State& s) { writeNlohmann(s, doc()); }
void BM_WriteDocumentAsRead_Ours(benchmark::State& s) { writeOurs(s, docAsRead()); }
void BM_WriteDocumentAsRead_RapidJSON(benchmark::State& s) { writeRapid(s, docAsRead()); }
void BM_WriteStrings_Ours(benchmark::State& s) { writeOurs(s, strings()); }
void BM_WriteStrings_RapidJSON(benchmark::State& s) { writeRapid(s, strings()); }
void BM_WriteStrings_Nlohmann(benchmark::State& s) { writeNlohmann(s, strings()); }
void BM_ReadParams_Ours(benchmark::State& s) { readOurs(s, params()); }
void BM_ReadParams_RapidJSON(benchmark::State& s) { readRapid(s, params()); }
void BM_ReadDocument_Ours(benchmark::State& s) { readOurs(s, doc()); }
void BM_ReadDocument_RapidJSON(benchmark::State& s) { readRapid(s, doc()); }
void BM_ReadDocumentFreshThread_Ours(benchmark::State& s) { readOursFreshThread(s, doc()); }
void BM_ReadDocument_Nlohmann(benchmark::State& s) { readNlohmann(s, doc()); }
void BM_ReadDocument_Simdjson(benchmark::State& s) { readSimdjson(s, doc()); }
void BM_ReadStrings_Ours(benchmark::State& s) { readOurs(s, strings()); }
void BM_ReadStrings_RapidJSON(benchmark::State& s) { readRapid(s, strings()); }

}  // namespace

BENCHMARK(BM_WriteParams_Ours);
BENCHMARK(BM_WriteParams_RapidJSON);
BENCHMARK(BM_WriteParams_Nlohmann);
BENCHMARK(BM_WriteDocument_Ours);
BENCHMARK(BM_WriteDocument_RapidJSON);
BENCHMARK(BM_WriteDocument_Nlohmann);
BENCHMARK(BM_WriteDocumentAsRead_Ours);
BENCHMARK(BM_WriteDocumentAsRead_RapidJSON);
BENCHMARK(BM_WriteStrings_Ours);
BENCHMARK(BM_WriteStrings_RapidJSON);
BENCHMARK(BM_WriteStrings_Nlohmann);
BENCHMARK(BM_ReadParams_Ours);
BENCHMARK(BM_ReadParams_RapidJSON);
BENCHMARK(BM_ReadDocument_Ours);
BENCHMARK(BM_ReadDocument_RapidJSON);
BENCHMARK(BM_ReadDocumentFreshThread_Ours);
BENCHMARK(BM_ReadDocument_Nlohmann);
BENCHMARK(BM_ReadDocument_Simdjson);
BENCHMARK(BM_ReadStrings_Ours);
BENCHMARK(BM_ReadStrings_RapidJSON);

BENCHMARK_MAIN();
