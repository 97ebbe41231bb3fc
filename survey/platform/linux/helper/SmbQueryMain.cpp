// varnex-smb-query: asks one host's server service for its level-101
// information and its share list through Samba's libnetapi, and writes both
// as tab-separated lines. Samba's client libraries are not safe with two
// threads and wait up to 5 s per connection attempt, so the survey runs one
// short-lived process of this per host and kills it at its deadline.
//
// Standard input, one line each: host (address or NetBIOS name), workgroup
// or domain, user, password; an empty user asks anonymously. The password
// never appears on a command line.
// Standard output: "info<TAB>status", then on success "platform", "name",
// "version", "type" and "comment" lines; "shares<TAB>status", then one
// "share<TAB>type<TAB>name<TAB>comment" line per share; "end". A failure is
// followed by an "error" line with the library's text for it. Texts escape
// backslash, tab, CR and LF as \\ \t \r \n.
#include <cstdint>

#include <netapi.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

extern "C" const char* set_dyn_CONFIGFILE(const char* path);
extern "C" const char* get_dyn_CONFIGFILE(void);

namespace {

constexpr uint32_t kPreferredMaximumLength = 0xFFFFFFFF;
constexpr uint32_t kMaxShares = 10000;

std::string Escaped(const char* text)
{
    std::string out;
    for (const char* c = text ? text : ""; *c; ++c) {
        switch (*c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += *c;
        }
    }
    return out;
}

std::string ReadLine()
{
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// libnetapi refuses to start without a readable smb.conf; a machine
// without Samba's server has none, and "[global]" alone is enough.
void EnsureConfiguration(std::string& scratch)
{
    if (access(get_dyn_CONFIGFILE(), R_OK) == 0)
        return;
    char path[] = "/tmp/varnex-smb-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return;
    const char minimal[] = "[global]\n";
    const bool written = write(fd, minimal, sizeof minimal - 1) == ssize_t(sizeof minimal - 1);
    close(fd);
    if (!written)
        return;
    scratch = path;
    set_dyn_CONFIGFILE(scratch.c_str());
}

libnetapi_ctx* g_context = nullptr;

// The library's own words for a failure, for the survey's diagnostic output.
void WriteError(NET_API_STATUS status)
{
    if (status != 0)
        std::printf("error\t%s\n", Escaped(libnetapi_get_error_string(g_context, status)).c_str());
}

void WriteInfo(const char* host)
{
    uint8_t* buffer = nullptr;
    const NET_API_STATUS status = NetServerGetInfo(host, 101, &buffer);
    std::printf("info\t%u\n", status);
    WriteError(status);
    if (status == 0 && buffer) {
        const auto* info = reinterpret_cast<const SERVER_INFO_101*>(buffer);
        std::printf("platform\t%u\nname\t%s\nversion\t%u\t%u\ntype\t%u\ncomment\t%s\n", info->sv101_platform_id,
                    Escaped(info->sv101_name).c_str(), info->sv101_version_major, info->sv101_version_minor,
                    info->sv101_type, Escaped(info->sv101_comment).c_str());
    }
    if (buffer)
        NetApiBufferFree(buffer);
}

void WriteShares(const char* host)
{
    uint8_t* buffer = nullptr;
    uint32_t read = 0;
    uint32_t total = 0;
    uint32_t resume = 0;
    const NET_API_STATUS status = NetShareEnum(host, 1, &buffer, kPreferredMaximumLength, &read, &total, &resume);
    std::printf("shares\t%u\n", status);
    WriteError(status);
    if (status == 0 && buffer) {
        const auto* shares = reinterpret_cast<const SHARE_INFO_1*>(buffer);
        for (uint32_t i = 0; i < read && i < kMaxShares; ++i)
            std::printf("share\t%u\t%s\t%s\n", shares[i].shi1_type, Escaped(shares[i].shi1_netname).c_str(),
                        Escaped(shares[i].shi1_remark).c_str());
    }
    if (buffer)
        NetApiBufferFree(buffer);
}

} // namespace

int main()
{
    const std::string host = ReadLine();
    const std::string workgroup = ReadLine();
    const std::string user = ReadLine();
    const std::string password = ReadLine();
    if (host.empty())
        return 2;
    std::string scratch;
    EnsureConfiguration(scratch);
    libnetapi_ctx*& context = g_context;
    const NET_API_STATUS started = libnetapi_init(&context);
    if (!scratch.empty())
        unlink(scratch.c_str());
    if (started != 0 || !context) {
        std::printf("info\t%u\nshares\t%u\nend\n", started, started);
        return 1;
    }
    // A password is always set, or the library asks for one on the terminal.
    libnetapi_set_username(context, user.c_str());
    libnetapi_set_password(context, password.c_str());
    if (!workgroup.empty())
        libnetapi_set_workgroup(context, workgroup.c_str());
    WriteInfo(host.c_str());
    std::fflush(stdout);
    WriteShares(host.c_str());
    std::printf("end\n");
    std::fflush(stdout);
    libnetapi_free(context);
    return 0;
}
