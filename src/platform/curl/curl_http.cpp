// HTTP_START and HTTP_POLL on the desktop and headless backends, over libcurl's multi
// interface: the transfers move only inside HTTP_POLL, which never waits (the resolver
// runs in libcurl's own thread), so the caller's turns go on at their pace. libcurl
// takes https and the proxies (http_proxy, https_proxy, no_proxy) as it always does.
#include "platform/platform.h"

#include <curl/curl.h>

#include <map>
#include <memory>

namespace {

constexpr long kConnectSeconds = 10;
constexpr long kTransferSeconds = 30;
constexpr size_t kLargestReply = 1 << 20; // the server's answers are small JSON

struct Transfer {
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string sent;
    HttpReply reply;
    ~Transfer()
    {
        curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
};

struct Transfers {
    CURLM* multi = nullptr;
    std::map<int, std::unique_ptr<Transfer>> running;
    std::map<int, HttpReply> done;
    int lastId = 0;
    ~Transfers()
    {
        for (auto& [id, transfer] : running) curl_multi_remove_handle(multi, transfer->easy);
        running.clear();
        if (multi) curl_multi_cleanup(multi);
    }
};

Transfers& transfers()
{
    static Transfers all;
    if (!all.multi) {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        all.multi = curl_multi_init();
    }
    return all;
}

size_t receive(char* data, size_t size, size_t count, void* to)
{
    std::string& body = static_cast<Transfer*>(to)->reply.body;
    if (body.size() + size * count > kLargestReply) return 0; // libcurl ends the transfer with an error
    body.append(data, size * count);
    return size * count;
}

void finish(Transfers& all, CURL* easy, CURLcode result)
{
    for (auto it = all.running.begin(); it != all.running.end(); ++it) {
        Transfer& transfer = *it->second;
        if (transfer.easy != easy) continue;
        if (result == CURLE_OK) {
            long status = 0;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
            transfer.reply.status = int(status);
        } else {
            transfer.reply.body.clear();
            transfer.reply.error = curl_easy_strerror(result); // short: the error buffer's details run long
        }
        curl_multi_remove_handle(all.multi, easy);
        all.done[it->first] = std::move(transfer.reply);
        all.running.erase(it);
        return;
    }
}

} // namespace

int HTTP_START(const std::string& method, const std::string& url, const std::string& body)
{
    Transfers& all = transfers();
    const int id = ++all.lastId;
    auto transfer = std::make_unique<Transfer>();
    transfer->sent = body;
    transfer->easy = curl_easy_init();
    CURL* easy = transfer->easy;
    if (!easy) {
        all.done[id] = HttpReply{0, "", "libcurl could not start"};
        return id;
    }
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    if (method == "POST") {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, transfer->sent.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(transfer->sent.size()));
        // Bytes, not the form libcurl labels a body by default, which servers may parse
        // (and refuse past a form's size); no wait for a "100 Continue" either.
        transfer->headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
        transfer->headers = curl_slist_append(transfer->headers, "Expect:");
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer->headers);
    }
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, kTransferSeconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "space-game");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
    curl_multi_add_handle(all.multi, easy);
    all.running[id] = std::move(transfer);
    return id;
}

bool HTTP_POLL(int request, HttpReply& reply)
{
    Transfers& all = transfers();
    int active = 0;
    curl_multi_perform(all.multi, &active);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(all.multi, &left)) {
        if (message->msg == CURLMSG_DONE) finish(all, message->easy_handle, message->data.result);
    }
    const auto found = all.done.find(request);
    if (found == all.done.end()) return false;
    reply = std::move(found->second);
    all.done.erase(found);
    return true;
}

std::string HTTP_HOME() { return ""; }
