#pragma once

// Archiving and unarchiving object graphs, used to make detached deep copies of view trees.
//
// The archive is our own compact binary format inside NSData (not Apple's property-list archive):
// a magic number and version, then a table of objects, each with its class name and its keyed
// values (integers, reals, booleans, strings, bytes, references to other objects of the table),
// then the index of the root object. Unarchiving checks every length, index and reference, and
// gives nil for anything malformed, so corrupt data can never crash the reader.
//
// Classes: an archived object's class must be archivable (listed with TORVANE_ARCHIVABLE_CLASS)
// or be one of the foundation values NSString, NSNumber and NSData; otherwise archiving fails
// (nil) rather than silently copying an object as some other class. Unarchiving makes each object
// with its class's factory and calls initWithCoder, so the copy has exactly the original's classes.
//
// What a view archive keeps: frame, bounds origin, tag, alpha, hidden, background colour, opaque,
// clipsToBounds, autoresizing, user interaction, the layer's border and corner radius, subviews
// in order, and what each class adds (images, label text and font, button titles...). Extra
// layers added directly to a view's layer are not copied. The copy has no superview.

#include <runtime/Object.h>
#include <runtime/RefPtr.h>
#include <uikit/Forward.h>

namespace uikit {

class NSKeyedArchiver {
public:
    // Nil when the graph contains an object that cannot be archived.
    static runtime::RefPtr<foundation::NSData> archivedDataWithRootObject(const runtime::Object& root);
};

class NSKeyedUnarchiver {
public:
    // Nil for data that is not a well-formed archive or names a class that is not archivable here.
    static runtime::RefPtr<runtime::Object> unarchiveObjectWithData(const foundation::NSData& data);
};

}
