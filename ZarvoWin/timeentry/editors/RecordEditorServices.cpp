#include "RecordEditorServices.h"

RecordEditorServices &RecordEditorServices::Registered()
{
    static RecordEditorServices services;
    return services;
}

QIcon RecordEditorServices::Image(int image)
{
    const RecordEditorServices &services = Registered();
    return services.image ? services.image(image) : QIcon();
}
