#include "host/runtime/http_transport.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <type_traits>

namespace recebimento::runtime {

namespace {

std::mutex settings_mutex;
HttpSettings current_settings;

// libcurl, and the TLS, Kerberos and LDAP libraries it brings, load with the first
// request: a sale that calls no service never loads them.
struct CurlLibrary {
  decltype(&::curl_global_init) global_init = nullptr;
  decltype(&::curl_easy_init) easy_init = nullptr;
  decltype(&::curl_easy_setopt) easy_setopt = nullptr;
  decltype(&::curl_easy_perform) easy_perform = nullptr;
  decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&::curl_easy_strerror) easy_strerror = nullptr;
  decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&::curl_slist_append) slist_append = nullptr;
  decltype(&::curl_slist_free_all) slist_free_all = nullptr;
};

// The library, or nullptr with `error` saying why it cannot be loaded.
const CurlLibrary* LoadCurl(std::string& error) {
  static std::once_flag once;
  static CurlLibrary library;
  static std::string failure;
  std::call_once(once, [] {
    constexpr const char* kName = "libcurl.so.4";
    void* handle = dlopen(kName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      failure = std::string(kName) + ": " + (why ? why : "not found");
      return;
    }
    CurlLibrary l;
    auto resolve = [&](auto& function, const char* symbol) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, symbol));
      if (!function && failure.empty()) failure = std::string(kName) + " has no " + symbol;
    };
    resolve(l.global_init, "curl_global_init");
    resolve(l.easy_init, "curl_easy_init");
    resolve(l.easy_setopt, "curl_easy_setopt");
    resolve(l.easy_perform, "curl_easy_perform");
    resolve(l.easy_getinfo, "curl_easy_getinfo");
    resolve(l.easy_strerror, "curl_easy_strerror");
    resolve(l.easy_cleanup, "curl_easy_cleanup");
    resolve(l.slist_append, "curl_slist_append");
    resolve(l.slist_free_all, "curl_slist_free_all");
    if (!failure.empty()) return;
    if (l.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      failure = std::string(kName) + ": initialisation failed";
      return;
    }
    library = l;
  });
  if (!failure.empty()) {
    error = failure;
    return nullptr;
  }
  return &library;
}

bool IsTokenChar(char c) {
  // RFC 9110 token characters: what a method or header name may hold.
  return std::isalnum(static_cast<unsigned char>(c)) ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar); }

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
    } else {
      return false;
    }
    if (extra > text.size() - i - 1) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool DeclaresLatin1(std::string content_type) {
  std::transform(content_type.begin(), content_type.end(), content_type.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return content_type.find("iso-8859-1") != std::string::npos || content_type.find("latin1") != std::string::npos ||
         content_type.find("windows-1252") != std::string::npos;
}

// Loopback never goes through a proxy, whatever the environment asks for.
std::string NoProxyList() {
  std::string list = "127.0.0.1,localhost,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = std::getenv(name); value && *value) {
      list += ',';
      list += value;
      break;
    }
  }
  return list;
}

struct Sink {
  std::string* body;
  std::size_t limit;
  bool overflowed = false;
};

size_t WriteToSink(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  size_t bytes = size * count;
  if (sink->body->size() + bytes > sink->limit) {
    sink->overflowed = true;
    return 0;  // makes curl stop with a write error
  }
  sink->body->append(data, bytes);
  return bytes;
}

struct CurlDeleter {
  decltype(&::curl_easy_cleanup) cleanup;
  void operator()(CURL* curl) const { cleanup(curl); }
};
struct SlistDeleter {
  decltype(&::curl_slist_free_all) free_all;
  void operator()(curl_slist* list) const { free_all(list); }
};

HttpResponse Failure(std::string error) {
  HttpResponse response;
  response.error = std::move(error);
  return response;
}

}  // namespace

void SetHttpSettings(HttpSettings settings) {
  std::lock_guard lock(settings_mutex);
  current_settings = std::move(settings);
}

HttpSettings GetHttpSettings() {
  std::lock_guard lock(settings_mutex);
  return current_settings;
}

long TimeoutMilliseconds(std::string_view seconds_text) {
  HttpSettings settings = GetHttpSettings();
  long fallback = std::max(1, settings.default_timeout_seconds) * 1000L;
  std::string text(seconds_text);
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  std::replace(text.begin(), text.end(), ',', '.');
  if (text.empty()) return fallback;
  char* end = nullptr;
  double seconds = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(seconds) || seconds <= 0) return fallback;
  double capped = std::min(seconds, static_cast<double>(std::max(1, settings.max_timeout_seconds)));
  return std::max(1L, std::lround(capped * 1000.0));
}

HttpResponse PerformHttpRequest(const HttpRequest& request) {
  HttpSettings settings = GetHttpSettings();

  std::string method = request.method;
  std::transform(method.begin(), method.end(), method.begin(), [](unsigned char c) { return std::toupper(c); });
  if (!IsToken(method)) return Failure("Método HTTP inválido: \"" + request.method + "\"");
  if (request.url.empty()) return Failure("URL vazia");
  if (HasLineBreakOrNul(request.url)) return Failure("URL inválida: contém quebra de linha");

  std::string load_error;
  const CurlLibrary* library = LoadCurl(load_error);
  if (!library) return Failure("Não foi possível iniciar a biblioteca HTTP (" + load_error + ")");
  const CurlLibrary& api = *library;

  std::unique_ptr<curl_slist, SlistDeleter> header_list(nullptr, SlistDeleter{api.slist_free_all});
  auto append_header = [&](const std::string& line) {
    curl_slist* grown = api.slist_append(header_list.get(), line.c_str());
    if (grown) {
      (void)header_list.release();
      header_list.reset(grown);
    }
    return grown != nullptr;
  };
  for (const auto& header : request.headers) {
    if (!IsToken(header.name) || HasLineBreakOrNul(header.value))
      return Failure("Cabeçalho HTTP inválido: \"" + header.name + "\"");
    // "Name;" is curl's way to send a header with an empty value.
    if (!append_header(header.value.empty() ? header.name + ";" : header.name + ": " + header.value))
      return Failure("Sem memória para os cabeçalhos");
  }
  // No "Expect: 100-continue" round trip on larger bodies.
  if (!append_header("Expect:")) return Failure("Sem memória para os cabeçalhos");

  std::unique_ptr<CURL, CurlDeleter> curl(api.easy_init(), CurlDeleter{api.easy_cleanup});
  if (!curl) return Failure("Não foi possível iniciar a biblioteca HTTP");
  CURL* h = curl.get();

  HttpResponse response;
  Sink sink{&response.body, settings.max_response_bytes};
  char error_buffer[CURL_ERROR_SIZE] = {0};
  long timeout_ms = request.timeout_ms > 0 ? request.timeout_ms : TimeoutMilliseconds("");
  long connect_ms = std::min(timeout_ms, std::max(1, settings.connect_timeout_seconds) * 1000L);
  std::string no_proxy = NoProxyList();

  api.easy_setopt(h, CURLOPT_URL, request.url.c_str());
  api.easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  api.easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  api.easy_setopt(h, CURLOPT_TIMEOUT_MS, timeout_ms);
  api.easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, connect_ms);
  api.easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  api.easy_setopt(h, CURLOPT_NOPROXY, no_proxy.c_str());
  api.easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  api.easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings.extra_ca_file.empty()) {
    api.easy_setopt(h, CURLOPT_CAINFO, settings.extra_ca_file.c_str());
    std::error_code ec;
    if (std::filesystem::is_directory("/etc/ssl/certs", ec)) api.easy_setopt(h, CURLOPT_CAPATH, "/etc/ssl/certs");
  }
  api.easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
  api.easy_setopt(h, CURLOPT_USERAGENT, "recebimento/1.0");
  api.easy_setopt(h, CURLOPT_HTTPHEADER, header_list.get());
  api.easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteToSink);
  api.easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  api.easy_setopt(h, CURLOPT_ERRORBUFFER, error_buffer);

  if (method == "HEAD") {
    api.easy_setopt(h, CURLOPT_NOBODY, 1L);
  } else if (method == "POST" || method == "PUT" || method == "PATCH" || !request.body.empty()) {
    // An empty body is still sent as one ("Content-Length: 0"): a PUT without a length
    // is refused by servers (411) or waited on until their read time-out.
    api.easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    api.easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    if (method != "POST") api.easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
  } else if (method != "GET") {
    api.easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
  }

  CURLcode result = api.easy_perform(h);
  if (result != CURLE_OK) {
    // A status line followed by a broken body is still a failed exchange.
    std::string error = error_buffer[0] ? error_buffer : api.easy_strerror(result);
    if (sink.overflowed)
      error = "Resposta maior que o limite de " + std::to_string(settings.max_response_bytes) + " bytes";
    return Failure(std::move(error));
  }
  long status = 0;
  api.easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  if (status < 100 || status > 999) return Failure("Resposta sem status HTTP");
  response.status = static_cast<int>(status);
  char* content_type = nullptr;
  if (api.easy_getinfo(h, CURLINFO_CONTENT_TYPE, &content_type) == CURLE_OK && content_type)
    response.content_type = content_type;
  if (DeclaresLatin1(response.content_type) && !IsValidUtf8(response.body)) response.body = Latin1ToUtf8(response.body);
  return response;
}

}  // namespace recebimento::runtime
