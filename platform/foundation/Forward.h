#pragma once

namespace foundation {
class FormatArgument;
class NSArray;
class NSData;
class NSDate;
class NSDictionary;
class NSError;
class NSFileManager;
class NSMutableArray;
class NSMutableDictionary;
class NSMutableString;
class NSNumber;
class NSSet;
class NSSortDescriptor;
class NSString;
}
