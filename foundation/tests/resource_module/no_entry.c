/* The module is only ever loaded as a data file for its resources. */
int qlr_resource_module_marker;
