#ifndef MTTIMESSAGEOBSERVER_H
#define MTTIMESSAGEOBSERVER_H

#include "MTTExport.h"

class MTTNode;

// Hears every message the library prints on the thread it is set for,
// right after the message is printed, so that a host can tell which node
// reported it (and, say, point at the template line behind it). Printing
// itself is unchanged: with no observer set, nothing else happens.
class MTT_EXPORT MTTIMessageObserver {
public:
    MTTIMessageObserver();
    MTTIMessageObserver(const MTTIMessageObserver& iOther);
    MTTIMessageObserver& operator=(const MTTIMessageObserver& iOther);
    virtual ~MTTIMessageObserver();

    // iText is the message exactly as printed, on standard error when
    // iToStandardError, else on standard output. iReporter is the node
    // whose operation printed it: for the environment's messages, the
    // statement that was using the environment; null for assertion reports
    // and where no node is involved. iSubject is the node the message is
    // about: the failing statement for "StatList failed ... for child %d",
    // otherwise iReporter.
    virtual void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                           const char* iText) = 0;
};

// Sets the calling thread's observer (null: none, the default) and returns
// the one it replaces. The observer is borrowed and must stay alive while
// it is set.
MTT_EXPORT MTTIMessageObserver* MTTSetMessageObserver(MTTIMessageObserver* iObserver);

#endif
