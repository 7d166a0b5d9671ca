// GNUstep's NSPropertyListSerialization reading one file over and over:
// PlistRead FILE COUNT prints the mean nanoseconds of one read.
#import <Foundation/Foundation.h>
#include <time.h>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    NSData* data = [NSData dataWithContentsOfFile:[NSString stringWithUTF8String:argv[1]]];
    long count = atol(argv[2]);
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (long i = 0; i < count; ++i) {
        NSAutoreleasePool* inner = [NSAutoreleasePool new];
        id value = [NSPropertyListSerialization propertyListWithData:data
                                                             options:NSPropertyListImmutable
                                                              format:NULL
                                                               error:NULL];
        if (![value isKindOfClass:[NSDictionary class]]) return 1;
        [inner release];
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    double elapsed = (end.tv_sec - start.tv_sec) * 1e9 + (end.tv_nsec - start.tv_nsec);
    printf("%.1f\n", elapsed / count);
    [pool release];
    return 0;
}
