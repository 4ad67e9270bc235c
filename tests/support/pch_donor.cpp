// Builds the precompiled header the widget tests reuse; never run.
int main()
{
    return 0;
}
