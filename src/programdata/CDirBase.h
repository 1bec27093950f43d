#pragma once
#include <string>

namespace qs {

// What a directory and a subdirectory have in common, so a tree item can point at either and
// tell which it is.
class CDirBase {
public:
    enum NodeKind : int { kDirectoryNode = 0, kSubdirectoryNode = 2 };

    int Kind() const { return kind_; }
    // Directory type, or subdirectory index.
    int Id() const { return id_; }
    int ParamCount() const { return paramCount_; }
    const std::string& Name() const { return name_; }

protected:
    CDirBase(int kind, int id, std::string name) : kind_(kind), id_(id), name_(std::move(name)) {}
    ~CDirBase() = default;
    CDirBase(const CDirBase&) = default;
    CDirBase& operator=(const CDirBase&) = default;

    int kind_;
    int id_;
    int paramCount_ = 0;
    std::string name_;
};

}  // namespace qs
