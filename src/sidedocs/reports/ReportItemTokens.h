#pragma once
#include <cstdint>
#include <map>
#include <memory>

namespace qs {

class ReportItem;

// The entries a "QuillsetReportEntry" block may name, by a 32-bit token that means something
// in this process only: the detached copy a Cut or Copy put on the clipboard (kept here until
// the next one replaces it), and the entries lent for the length of a drag. A token from
// another process, or one that was revoked or replaced, resolves to nothing.
class ReportItemTokens {
public:
    // `first` is where the tokens start (the owner gives a random one, so another process's
    // tokens are unlikely to match any of ours); 0 is never issued.
    explicit ReportItemTokens(uint32_t first);
    // Tokens starting at a random number.
    static std::shared_ptr<ReportItemTokens> ForThisProcess();
    ~ReportItemTokens();
    ReportItemTokens(const ReportItemTokens&) = delete;
    ReportItemTokens& operator=(const ReportItemTokens&) = delete;

    // Keeps the copy behind a new token; the copy kept before goes with its token.
    uint32_t Keep(std::unique_ptr<ReportItem> copy);
    // A token for an entry someone else owns, valid until Revoke; the lender revokes it before
    // the entry goes.
    uint32_t Lend(const ReportItem& item);
    void Revoke(uint32_t token);

    // The entry a token names; null for any other token.
    const ReportItem* Resolve(uint32_t token) const;

private:
    uint32_t Issue();

    uint32_t next_;
    uint32_t keptToken_ = 0;
    std::unique_ptr<ReportItem> kept_;
    std::map<uint32_t, const ReportItem*> lent_;
};

}  // namespace qs
