#include "platform/winmm/mci_command.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "platform/common/codepage.h"

namespace win32::winmm {
namespace {

enum class Takes { Nothing, Integer, Word, Position };

struct Keyword {
  std::string_view words;  // one or two words
  Takes takes;
};

struct Verb {
  std::string_view name;
  std::vector<Keyword> keywords;
};

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> verbs = {
      {"open", {{"type", Takes::Word}, {"alias", Takes::Word}, {"shareable", Takes::Nothing}}},
      {"close", {}},
      {"play", {{"from", Takes::Integer}, {"to", Takes::Integer}}},
      {"stop", {}},
      {"pause", {}},
      {"resume", {}},
      {"seek", {{"to", Takes::Position}}},
      {"status",
       {{"mode", Takes::Nothing},
        {"position", Takes::Nothing},
        {"length", Takes::Nothing},
        {"ready", Takes::Nothing},
        {"time format", Takes::Nothing}}},
      {"set", {{"time format", Takes::Word}}},
  };
  return verbs;
}

struct Token {
  std::string text;
  bool quoted = false;
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits at white space; a token that begins with '"' runs to the next '"'. Neither a
// space nor '"' can be the second byte of a CP932 character, so bytes can be scanned.
MCIERROR Tokenize(std::string_view text, std::vector<Token>& tokens) {
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i == text.size()) return 0;
    if (text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
      tokens.push_back({std::string(text.substr(i + 1, close - i - 1)), true});
      i = close + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && !IsSpace(text[end])) ++end;
      tokens.push_back({std::string(text.substr(i, end - i)), false});
      i = end;
    }
  }
}

bool IsNumber(std::string_view text) {
  DWORD value;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// How many tokens from `at` spell `words` ("time format" is two), or 0.
std::size_t Matches(const std::vector<Token>& tokens, std::size_t at, std::string_view words) {
  std::size_t used = 0;
  while (!words.empty()) {
    std::size_t space = words.find(' ');
    std::string_view word = words.substr(0, space);
    if (at + used >= tokens.size() || tokens[at + used].quoted || LowerAscii(tokens[at + used].text) != word) return 0;
    ++used;
    words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
  }
  return used;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

std::string MciCommand::Argument(std::string_view keyword) const {
  auto found = keywords.find(keyword);
  return found == keywords.end() ? std::string() : found->second;
}

DWORD MciCommand::Number(std::string_view keyword) const {
  std::string text = Argument(keyword);
  DWORD value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

MCIERROR ParseMciCommand(std::string_view text, MciCommand& command) {
  std::vector<Token> tokens;
  if (MCIERROR error = Tokenize(text, tokens)) return error;
  if (tokens.empty()) return MCIERR_MISSING_COMMAND_STRING;

  command = MciCommand{};
  command.verb = LowerAscii(tokens[0].text);
  const auto& verbs = Verbs();
  auto verb = std::find_if(verbs.begin(), verbs.end(), [&](const Verb& v) { return v.name == command.verb; });
  if (verb == verbs.end() || tokens[0].quoted) return MCIERR_UNRECOGNIZED_COMMAND;
  if (tokens.size() < 2 || tokens[1].text.empty()) return MCIERR_MISSING_DEVICE_NAME;
  command.device = tokens[1].text;
  command.device_quoted = tokens[1].quoted;

  // Every verb takes notify and wait besides its own keywords.
  std::vector<Keyword> keywords = verb->keywords;
  keywords.push_back({"notify", Takes::Nothing});
  keywords.push_back({"wait", Takes::Nothing});

  std::size_t at = 2;
  while (at < tokens.size()) {
    const Keyword* keyword = nullptr;
    std::size_t used = 0;
    for (const Keyword& candidate : keywords) {
      std::size_t n = Matches(tokens, at, candidate.words);
      if (n > used) {
        keyword = &candidate;
        used = n;
      }
    }
    if (!keyword) return MCIERR_UNRECOGNIZED_KEYWORD;
    at += used;
    if (command.Has(keyword->words)) return MCIERR_DUPLICATE_FLAGS;

    std::string argument;
    if (keyword->takes != Takes::Nothing) {
      if (at == tokens.size()) {
        return keyword->takes == Takes::Word ? MCIERR_MISSING_STRING_ARGUMENT : MCIERR_MISSING_PARAMETER;
      }
      const Token& value = tokens[at++];
      argument = value.text;
      if (keyword->takes == Takes::Position) {
        std::string lower = LowerAscii(argument);
        if (lower == "start" || lower == "end")
          argument = lower;
        else if (!IsNumber(argument))
          return MCIERR_BAD_INTEGER;
      } else if (keyword->takes == Takes::Integer && !IsNumber(argument)) {
        return MCIERR_BAD_INTEGER;
      }
    }
    command.keywords.emplace(std::string(keyword->words), std::move(argument));
  }
  return 0;
}

}  // namespace win32::winmm
