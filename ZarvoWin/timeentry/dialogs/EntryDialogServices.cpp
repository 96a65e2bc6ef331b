#include "EntryDialogServices.h"

EntryDialogServices &EntryDialogServices::Registered()
{
    static EntryDialogServices services;
    return services;
}
