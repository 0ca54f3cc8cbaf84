#pragma once
#include <algorithm>
#include <vector>

class TMultiLang;

// All translation components that exist, in order of creation.
class TranslationRegistry
{
public:
    void add(TMultiLang *component) { components_.push_back(component); }
    void remove(TMultiLang *component)
    {
        components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    }
    const std::vector<TMultiLang *> &components() const { return components_; }

private:
    std::vector<TMultiLang *> components_;
};
