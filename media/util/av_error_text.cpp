// The texts of AVERROR codes. The table is keyed by the library's own macros, never by literal numbers: the
// tagged codes (end of file, invalid data, ...) are not negated errno values in this library generation.
#include <cerrno>
#include <unordered_map>

#include "media/util/ff_utils.h"
#include "media/util/text_format.h"

extern "C" {
#include <libavutil/error.h>
}

namespace {

const std::unordered_map<int, const char*>& ErrorTexts()
{
    static const std::unordered_map<int, const char*> texts = [] {
        std::unordered_map<int, const char*> t = {
            {AVERROR_MUXER_NOT_FOUND, "Muxer not found"},
            {AVERROR_STREAM_NOT_FOUND, "Stream not found"},
            {AVERROR_PROTOCOL_NOT_FOUND, "Protocol not found"},
            {AVERROR_DEMUXER_NOT_FOUND, "Demuxer not found"},
            {AVERROR_FILTER_NOT_FOUND, "Filter not found"},
            {AVERROR_BSF_NOT_FOUND, "Bitstream filter not found"},
            {AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
            {AVERROR_ENCODER_NOT_FOUND, "Encoder not found"},
            {AVERROR_DECODER_NOT_FOUND, "Decoder not found"},
            {AVERROR_EOF, "End of file"},
            {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
            {AVERROR_BUG, "Internal bug, should not have happened"},
            {AVERROR_BUG2, "Internal bug, should not have happened"},
            {AVERROR_BUFFER_TOO_SMALL, "Buffer too small"},
            {AVERROR_EXIT, "Immediate exit requested"},
            {AVERROR_EXTERNAL, "Generic error in an external library"},
            {AVERROR_OPTION_NOT_FOUND, "Option not found"},
            {AVERROR_UNKNOWN, "Unknown error occurred"},
            {AVERROR_EXPERIMENTAL, "Experimental feature"},
            {AVERROR_INPUT_CHANGED, "Input changed"},
            {AVERROR_OUTPUT_CHANGED, "Output changed"},
            {AVERROR_HTTP_BAD_REQUEST, "Server returned 400 Bad Request"},
            {AVERROR_HTTP_UNAUTHORIZED, "Server returned 401 Unauthorized (authorization failed)"},
            {AVERROR_HTTP_FORBIDDEN, "Server returned 403 Forbidden (access denied)"},
            {AVERROR_HTTP_NOT_FOUND, "Server returned 404 Not Found"},
            {AVERROR_HTTP_OTHER_4XX, "Server returned 4XX Client Error, but not one of 40{0,1,3,4}"},
            {AVERROR_HTTP_SERVER_ERROR, "Server returned 5XX Server Error reply"},
        };
        const std::pair<int, const char*> errno_texts[] = {
            {EPERM, "Operation not permitted"}, {ENOENT, "No such file or directory"},
            {ESRCH, "No such process"}, {EINTR, "Interrupted function call"}, {EIO, "I/O error"},
            {ENXIO, "No such device or address"}, {E2BIG, "Argument list too long"},
            {ENOEXEC, "Exec format error"}, {EBADF, "Bad file number"}, {ECHILD, "No child processes"},
            {EAGAIN, "Resource temporarily unavailable / Try again"},
            {ENOMEM, "Not enough space / Out of memory"}, {EACCES, "Permission denied"},
            {EFAULT, "Bad address"}, {ENOTBLK, "Block device required"},
            {EBUSY, "Device or resource busy"}, {EEXIST, "File exists"}, {EXDEV, "Cross-device link"},
            {ENODEV, "No such device"}, {ENOTDIR, "Not a directory"}, {EISDIR, "Is a directory"},
            {EINVAL, "Invalid argument / Invalid data found when processing input"},
            {ENFILE, "Too many open files in system / File table overflow"},
            {EMFILE, "Too many open files"},
            {ENOTTY, "Inappropriate I/O control operation / Not a typewriter"},
            {ETXTBSY, "Text file busy"}, {EFBIG, "File too large"}, {ENOSPC, "No space left on device"},
            {ESPIPE, "Illegal seek"}, {EROFS, "Read-only file system"}, {EMLINK, "Too many links"},
            {EPIPE, "End of file"}, {EDOM, "Number syntax expected in filename"},
            {ERANGE, "Math result not representable"}, {EDEADLK, "Resource deadlock would occur"},
            {ENAMETOOLONG, "File name too long"}, {ENOLCK, "No record locks available"},
            {ENOSYS, "Function not implemented"}, {ENOTEMPTY, "Directory not empty"},
            {ELOOP, "Too many symbolic links encountered"}, {ENOMSG, "Unknown format"},
            {EIDRM, "Identifier removed"}, {ECHRNG, "Channel number out of range"},
            {EL2NSYNC, "Level 2 not synchronized"}, {EL3HLT, "Level 3 halted"}, {EL3RST, "Level 3 reset"},
            {ELNRNG, "Link number out of range"}, {EUNATCH, "Protocol driver not attached"},
            {ENOCSI, "No CSI structure available"}, {EL2HLT, "Level 2 halted"},
            {EBADE, "Invalid exchange"}, {EBADR, "Invalid request descriptor"}, {EXFULL, "Exchange full"},
            {ENOANO, "No anode"}, {EBADRQC, "Invalid request code"}, {EBADSLT, "Invalid slot"},
            {EBFONT, "Bad font file format"}, {ENOSTR, "Device not a stream"},
            {ENODATA, "No data available"}, {ETIME, "Timer expired"},
            {ENOSR, "Out of streams resources"}, {ENONET, "Machine is not on the network"},
            {ENOPKG, "Package not installed"}, {EREMOTE, "Object is remote"},
            {ENOLINK, "Link has been severed"}, {EADV, "Advertise error"}, {ESRMNT, "Srmount error"},
            {ECOMM, "Communication error on send"}, {EPROTO, "Protocol error"},
            {EMULTIHOP, "Multihop attempted"}, {EDOTDOT, "RFS specific error"},
            {EBADMSG, "Not a data message"}, {EOVERFLOW, "Value too large for defined data type"},
            {ENOTUNIQ, "Name not unique on network"}, {EBADFD, "File descriptor in bad state"},
            {EREMCHG, "Remote address changed"}, {ELIBACC, "Can not access a needed shared library"},
            {ELIBBAD, "Accessing a corrupted shared library"}, {ELIBSCN, ".lib section in a.out corrupted"},
            {ELIBMAX, "Attempting to link in too many shared libraries"},
            {ELIBEXEC, "Cannot exec a shared library directly"}, {EILSEQ, "Illegal byte sequence"},
            {ERESTART, "Interrupted system call should be restarted"}, {ESTRPIPE, "Streams pipe error"},
            {EUSERS, "Too many users"}, {ENOTSOCK, "Socket operation on non-socket"},
            {EDESTADDRREQ, "Destination address required"}, {EMSGSIZE, "Message too long"},
            {EPROTOTYPE, "Protocol wrong type for socket"}, {ENOPROTOOPT, "Protocol not available"},
            {EPROTONOSUPPORT, "Protocol not supported"}, {ESOCKTNOSUPPORT, "Socket type not supported"},
            {EOPNOTSUPP, "Operation not supported on transport endpoint"},
            {EPFNOSUPPORT, "Protocol family not supported"},
            {EAFNOSUPPORT, "Address family not supported by protocol"},
            {EADDRINUSE, "Address already in use"}, {EADDRNOTAVAIL, "Cannot assign requested address"},
            {ENETDOWN, "Network is down"}, {ENETUNREACH, "Network is unreachable"},
            {ENETRESET, "Network dropped connection because of reset"},
            {ECONNABORTED, "Software caused connection abort"}, {ECONNRESET, "Connection reset by peer"},
            {ENOBUFS, "No buffer space available"}, {EISCONN, "Transport endpoint is already connected"},
            {ENOTCONN, "Transport endpoint is not connected"},
            {ESHUTDOWN, "Cannot send after transport endpoint shutdown"},
            {ETOOMANYREFS, "Too many references: cannot splice"}, {ETIMEDOUT, "Connection timed out"},
            {ECONNREFUSED, "Connection refused"}, {EHOSTDOWN, "Host is down"},
            {EHOSTUNREACH, "No route to host"}, {EALREADY, "Operation already in progress"},
            {EINPROGRESS, "Operation now in progress"}, {ESTALE, "Stale NFS file handle"},
            {EUCLEAN, "Structure needs cleaning"}, {ENOTNAM, "Not a XENIX named type file"},
            {ENAVAIL, "No XENIX semaphores available"}, {EISNAM, "Is a named type file"},
            {EREMOTEIO, "Remote I/O error"}, {EDQUOT, "Quota exceeded"}, {ENOMEDIUM, "No medium found"},
            {EMEDIUMTYPE, "Wrong medium type"}, {ECANCELED, "Operation Canceled"},
            {ENOKEY, "Required key not available"}, {EKEYEXPIRED, "Key has expired"},
            {EKEYREVOKED, "Key has been revoked"}, {EKEYREJECTED, "Key was rejected by service"},
            {EOWNERDEAD, "Owner died"}, {ENOTRECOVERABLE, "State not recoverable"},
        };
        for (const auto& [number, text] : errno_texts) t.emplace(AVERROR(number), text);
        // Socket error numbers of the other platform that share an errno text; they can only arrive from data
        // written there (a log or a stored report), so they map by their own numbers.
        const std::pair<int, int> shared[] = {{10004, EINTR}, {10009, EBADF}, {10013, EACCES}, {10014, EFAULT},
                                              {10022, EINVAL}, {10024, EMFILE}, {10036, EINPROGRESS},
                                              {10037, EALREADY}, {10062, ELOOP}, {10063, ENAMETOOLONG},
                                              {10064, EHOSTDOWN}, {10065, EHOSTUNREACH}, {10066, ENOTEMPTY},
                                              {10068, EUSERS}, {10069, EDQUOT}, {10070, ESTALE}, {10071, EREMOTE}};
        for (const auto& [socket_number, errno_number] : shared) t.emplace(-socket_number, t.at(AVERROR(errno_number)));
        for (int i = 0; i <= 10061 - 10038; ++i) t.emplace(-(10038 + i), t.at(AVERROR(ENOTSOCK + i)));
        const std::pair<int, const char*> named[] = {
            {10035, "WSAEWOULDBLOCK"}, {10067, "WSAEPROCLIM"}, {10091, "WSASYSNOTREADY"},
            {10092, "WSAVERNOTSUPPORTED"}, {10093, "WSANOTINITIALISED"}, {10101, "WSAEDISCON"},
            {10102, "WSAENOMORE"}, {10103, "WSAECANCELLED"}, {10104, "WSAEINVALIDPROCTABLE"},
            {10105, "WSAEINVALIDPROVIDER"}, {10106, "WSAEPROVIDERFAILEDINIT"}, {10107, "WSASYSCALLFAILURE"},
            {10108, "WSASERVICE_NOT_FOUND"}, {10109, "WSATYPE_NOT_FOUND"}, {10110, "WSA_E_NO_MORE"},
            {10111, "WSA_E_CANCELLED"}, {10112, "WSAEREFUSED"}, {11001, "WSAHOST_NOT_FOUND"},
            {11002, "WSATRY_AGAIN"}, {11003, "WSANO_RECOVERY"}, {11004, "WSANO_DATA"},
        };
        for (const auto& [number, text] : named) t.emplace(-number, text);
        return t;
    }();
    return texts;
}

}  // namespace

std::string AVErrorText(const std::string& APrefix, int ACode)
{
    const auto& texts = ErrorTexts();
    const auto it = texts.find(ACode);
    const std::string message = it != texts.end() ? it->second : StrFormat("Error number %d occurred", ACode);
    return APrefix + ": " + message;
}
