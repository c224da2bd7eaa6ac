// The common base of everything an ObjectArray can own: the elements are
// deleted through this virtual destructor.
#pragma once

class OwnedObject {
public:
    OwnedObject() = default;
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;
    virtual ~OwnedObject() = default;
};
