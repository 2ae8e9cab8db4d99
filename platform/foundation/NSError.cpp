#include "foundation/NSError.h"

NSString *const NSLocalizedDescriptionKey = sim_constantString("NSLocalizedDescription");
NSString *const NSURLErrorDomain = sim_constantString("NSURLErrorDomain");
NSString *const NSURLErrorFailingURLStringErrorKey =
    sim_constantString("NSErrorFailingURLStringKey");

namespace {

NSString *domainMessage(NSError *self, SEL)
{
    return self->domain();
}

NSInteger codeMessage(NSError *self, SEL)
{
    return self->code();
}

NSDictionary *userInfoMessage(NSError *self, SEL)
{
    return self->userInfo();
}

NSString *localizedDescriptionMessage(NSError *self, SEL)
{
    return self->localizedDescription();
}

// The details in the platform's form, {key=value, key=value}, in the order they were added.
std::string describeUserInfo(const NSDictionary *userInfo)
{
    std::string text = "{";
    for (const auto &[key, value] : *userInfo) {
        if (text.size() > 1)
            text += ", ";
        text += sim::describe(key.get()) + "=" + sim::describe(value.get());
    }
    return text + "}";
}

NSString *description(NSError *self, SEL)
{
    return NSString::stringWithFormat("Error Domain=%@ Code=%ld \"%@\" UserInfo=%s", self->domain(),
                                      self->code(), self->localizedDescription(),
                                      describeUserInfo(self->userInfo()).c_str());
}

} // namespace

Class NSError::class_()
{
    static const Class cls = ClassBuilder<NSError>("NSError", "NSObject")
                                 .method("domain", domainMessage)
                                 .method("code", codeMessage)
                                 .method("userInfo", userInfoMessage)
                                 .method("localizedDescription", localizedDescriptionMessage)
                                 .method("description", description)
                                 .registerClass();
    return cls;
}

NSError *NSError::errorWithDomainCodeUserInfo(NSString *domain, NSInteger code,
                                              NSDictionary *userInfo)
{
    auto *error = sim::make<NSError>(class_());
    error->m_domain = domain ? domain : NSString::stringWithString("");
    error->m_code = code;
    error->m_userInfo = userInfo ? userInfo : NSDictionary::dictionary();
    return error;
}

NSString *NSError::localizedDescription() const
{
    id text = m_userInfo->objectForKey(NSLocalizedDescriptionKey);
    if (text && msg<BOOL, Class>(text, "isKindOfClass:"_sel, NSString::class_()))
        return static_cast<NSString *>(text);
    return NSString::stringWithFormat("The operation couldn’t be completed. (%@ error %ld.)",
                                      m_domain.get(), m_code);
}
