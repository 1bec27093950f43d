#include "sidedocs/reports/ReportItemTokens.h"

#include <random>

#include "sidedocs/reports/ReportItem.h"

namespace qs {

ReportItemTokens::ReportItemTokens(uint32_t first) : next_(first) {}

ReportItemTokens::~ReportItemTokens() = default;

std::shared_ptr<ReportItemTokens> ReportItemTokens::ForThisProcess() {
    return std::make_shared<ReportItemTokens>(std::random_device{}());
}

uint32_t ReportItemTokens::Issue() {
    if (next_ == 0) ++next_;
    return next_++;
}

uint32_t ReportItemTokens::Keep(std::unique_ptr<ReportItem> copy) {
    kept_ = std::move(copy);
    keptToken_ = kept_ ? Issue() : 0;
    return keptToken_;
}

uint32_t ReportItemTokens::Lend(const ReportItem& item) {
    const uint32_t token = Issue();
    lent_[token] = &item;
    return token;
}

void ReportItemTokens::Revoke(uint32_t token) {
    lent_.erase(token);
    if (token != 0 && token == keptToken_) {
        kept_.reset();
        keptToken_ = 0;
    }
}

const ReportItem* ReportItemTokens::Resolve(uint32_t token) const {
    if (token == 0) return nullptr;
    if (token == keptToken_) return kept_.get();
    const auto it = lent_.find(token);
    return it == lent_.end() ? nullptr : it->second;
}

}  // namespace qs
