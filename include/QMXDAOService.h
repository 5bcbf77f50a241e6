// QMXDAOService: the data-access library of the shop application. Include this one header.
#pragma once

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/CppSQLite3Query.h"
#include "qmxdao/storage/CppSQLite3Statement.h"
#include "qmxdao/storage/DBConnection.h"
#include "qmxdao/storage/Utility.h"

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/domain/data_type.h"

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/ICustomerDAO.h"
#include "qmxdao/dao/IGenericDAO.h"
