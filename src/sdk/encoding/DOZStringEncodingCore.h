#pragma once
// DOZStringEncodingCore: bytes to text and back with an alphabet of 2, 4, 8 … 128 ASCII
// symbols, that is 1 to 7 bits a symbol. Binary, hexadecimal, the Base32 forms and the Base64
// forms are all this one loop with another alphabet; decoding can also accept synonyms
// (lower-case hex digits), skip ignored characters and stop at a padding character.
//
// The class is used under two names, DOZStringEncoding and GAD_DOZStringEncoding
// (DOZStringEncodingFamily.h); the name only shows in the reports of failed internal checks,
// which go to pf::AssertionHandler.
//
//   auto enc = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
//   enc.setDoPad(false);
//   std::string text = enc.encode(bytes);                      // "YWJjZA" for "abcd"
//   std::optional<std::string> back = enc.decode(text);        // nullopt: not this encoding
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class DOZStringEncodingTables;

class DOZStringEncodingCore {
 public:
  // The text of `data`. The last symbol is completed with zero bits; padding characters are
  // added up to a whole group (a multiple of padLen() characters) when doPad() is on and a
  // padding character is set. Empty data gives "".
  std::string encode(std::string_view data) const;
  // encode() into `out`, replacing its contents and reusing its storage: for callers that
  // encode many values in a row.
  void encodeTo(std::string_view data, std::string& out) const;
  // encode() of the text's UTF-8 bytes.
  std::string encodeString(std::string_view text) const { return encode(text); }

  // The bytes of `text`, or nullopt when it is not a text of this encoding: a character that
  // is neither a symbol, a synonym, the padding character nor an ignored one; a symbol after
  // padding; or a last symbol whose bits do not all go into whole bytes and are not all zero,
  // or that contributes no bits to any byte at all. Padding is optional and its count free.
  std::optional<std::string> decode(std::string_view text) const;
  // decode() into `out`, reusing its storage; false (and `out` empty) when decode() gives
  // nullopt.
  bool decodeTo(std::string_view text, std::string& out) const;
  // decode() read as UTF-8 text; nullopt also when the bytes are not valid UTF-8.
  std::optional<std::string> stringByDecoding(std::string_view text) const;

  // The plain bit-at-a-time loops. encode() and decode() give exactly their results, faster,
  // by working on whole groups of symbols at once; these are the yardstick.
  std::string encodeWithBitLoop(std::string_view data) const;
  std::optional<std::string> decodeWithBitLoop(std::string_view text) const;

  bool doPad() const { return doPad_; }
  void setDoPad(bool doPad) { doPad_ = doPad; }

  // Makes `c` the padding character written by encode() and skipped at the end by decode().
  // 0 means none. A character that already decodes to a symbol or is ignored cannot also be
  // padding: that is reported as a failed check and changes nothing.
  void setPaddingChar(char c);
  char paddingChar() const { return paddingChar_; }

  // Reads `synonyms` as groups, each a character that already decodes followed by characters
  // that should decode the same: "AaBbCcDdEeFf" makes hexadecimal accept lower case.
  // Characters that already decode keep their meaning; undefined characters before the first
  // defined one stay undefined.
  void addDecodeSynonyms(std::string_view synonyms);

  // Characters that decode() skips (blanks, line feeds). One that already means something
  // is reported as a failed check and keeps its meaning.
  void ignoreCharacters(std::string_view characters);

  // "<Base64 StringEncoder: ABC…+/>": the alphabet size and the alphabet.
  std::string description() const;

  const std::string& alphabet() const { return charMapData_; }
  int shift() const { return shift_; }    // bits per symbol
  int padLen() const { return padLen_; }  // characters in a whole group

 protected:
  enum class Predefined { Binary, Hex, Base32, Base32Hex, Crockford, Base64, Base64Websafe };

  // `className` names the reporting class in failure reports and must outlive the object
  // (it is a literal of the named class).
  explicit DOZStringEncodingCore(const char* className) : className_(className) {}
  DOZStringEncodingCore(const char* className, Predefined which);

  // Takes `alphabet` (2 to 128 distinct ASCII characters, a power of two of them); false
  // when it does not qualify.
  bool initWithString(std::string_view alphabet);

 private:
  // Reverse-map entries other than a symbol value.
  static constexpr int8_t kNotAllowed = -1;
  static constexpr int8_t kPadding = -2;
  static constexpr int8_t kIgnored = -3;

  size_t symbolCount(size_t bytes) const;
  size_t paddedLength(size_t symbols) const;
  void encodeImpl(std::string_view data, bool fast, std::string& out) const;
  size_t decodeRoom(size_t length) const;
  bool decodeImpl(std::string_view text, bool fast, std::string& out) const;
  void refreshTables();
  void reportFailure(const char* selector, int line, const std::string& description) const;

  std::string charMapData_;  // the alphabet: symbol value i is written as charMapData_[i]
  // For every byte: the symbol value it decodes to, or kNotAllowed / kPadding / kIgnored.
  // 256 entries, not 128, so a byte above 127 is looked up like any other and refused.
  std::array<int8_t, 256> reverseCharMap_{};
  int shift_ = 0;
  int mask_ = 0;
  bool doPad_ = false;
  char paddingChar_ = 0;
  int padLen_ = 0;
  const char* className_;
  std::shared_ptr<const DOZStringEncodingTables> tables_;  // 6 bits a symbol only, shared
};
