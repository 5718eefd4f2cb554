#pragma once

#include <json-glib/json-glib.h>

#include <initializer_list>
#include <string>

// A parsed JSON answer of the sandbox, read by member paths: doc.integer({"script", "200"}).
class JsonDoc {
 public:
  explicit JsonDoc(const std::string& text) : parser_(json_parser_new()) {
    ok_ = json_parser_load_from_data(parser_, text.c_str(), static_cast<gssize>(text.size()), nullptr);
  }
  ~JsonDoc() { g_object_unref(parser_); }
  JsonDoc(const JsonDoc&) = delete;
  JsonDoc& operator=(const JsonDoc&) = delete;

  bool ok() const { return ok_ && root(); }
  JsonNode* root() const { return json_parser_get_root(parser_); }

  // The node at the path of object members, or nullptr.
  JsonNode* at(std::initializer_list<const char*> path) const {
    JsonNode* node = root();
    for (const char* key : path) {
      if (!node || !JSON_NODE_HOLDS_OBJECT(node)) return nullptr;
      JsonObject* object = json_node_get_object(node);
      if (!json_object_has_member(object, key)) return nullptr;
      node = json_object_get_member(object, key);
    }
    return node;
  }
  // -1 when missing or not a number.
  gint64 integer(std::initializer_list<const char*> path) const {
    JsonNode* node = at(path);
    return node && JSON_NODE_HOLDS_VALUE(node) && json_node_get_value_type(node) == G_TYPE_INT64
               ? json_node_get_int(node)
               : -1;
  }

 private:
  JsonParser* parser_;
  bool ok_ = false;
};
