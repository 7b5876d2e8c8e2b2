#pragma once
// TDatabase: a connection to a folder of dBASE tables, as a form declares it:
//
//     object DB: TDatabase
//       DatabaseName = 'DB'
//       DriverName = 'STANDARD'
//       Params.Strings = ( 'PATH=.' 'ENABLE BCD=FALSE' 'DEFAULT DRIVER=DBASE' )
//       SessionName = 'Default'
//     end
//
// Tables name it by DatabaseName (see TTable). PATH may be absolute or relative; a relative
// path (and a missing one, which means ".") is taken from the base folder: the folder of the
// form file that declares the database, which the form loader or the program sets with
// SetBaseFolder, or the working folder when none is set. Backslashes count as separators, so
// paths written on Windows keep working.
//
// Every database registers itself in the session list of databases while it exists, so that a
// table can find it by name from anywhere in the program. Thread rule: each thread has a session
// of its own, as the framework's database sessions do: a table finds the databases made on its
// own thread (the list is guarded, so databases may come and go on several threads at once).

#include <filesystem>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/string_list.h"

namespace tabulix::data {

class TDataSet;

class TDatabase : public framework::TComponent {
public:
    explicit TDatabase(framework::TComponent* owner);
    ~TDatabase() override;

    std::string ClassName() const override { return "TDatabase"; }
    void DefineProperties(framework::PropertyList& properties) override;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& name);
    const std::string& DriverName() const { return driverName_; }
    void SetDriverName(const std::string& name);
    const std::string& SessionName() const { return sessionName_; }
    void SetSessionName(const std::string& name) { sessionName_ = name; }
    framework::TStringList& Params() { return params_; }
    const framework::TStringList& Params() const { return params_; }

    const std::filesystem::path& BaseFolder() const { return baseFolder_; }
    void SetBaseFolder(const std::filesystem::path& folder) { baseFolder_ = folder; }

    bool Connected() const { return connected_; }
    // While loading from a form file the request is kept and carried out when loading ends.
    void SetConnected(bool value);
    // Checks the driver and parameters and that the folder exists; raises EDatabaseError
    // naming the database and the problem otherwise.
    void Open();
    // Closes the data sets that use the connection, then the connection.
    void Close();

    // Valid while connected: the absolute folder of the tables and the BCD choice.
    const std::filesystem::path& Directory() const { return directory_; }
    bool EnableBcd() const { return enableBcd_; }

    // The database of that name: first among the components of `owner` (the form of the table
    // that asks), then in the calling thread's session. Null when there is none.
    static TDatabase* Find(const std::string& name, const framework::TComponent* owner);

    // Data sets register while they are open on this connection.
    void AttachDataSet(TDataSet* dataSet);
    void DetachDataSet(TDataSet* dataSet);

protected:
    void Loaded() override;

private:
    std::string displayName() const;
    void checkDisconnected(const std::string& what) const;

    std::string databaseName_;
    std::string driverName_ = "STANDARD";
    std::string sessionName_ = "Default";
    framework::TStringList params_;
    std::filesystem::path baseFolder_;
    std::filesystem::path directory_;
    bool enableBcd_ = false;
    bool connected_ = false;
    bool streamedConnected_ = false;
    std::vector<TDataSet*> dataSets_;  // borrowed: open data sets using the connection
};

}  // namespace tabulix::data
